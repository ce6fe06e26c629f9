#include "words/CRuleListDlg.h"

#include "platform/CControlIds.h"
#include "platform/COkCancelButtons.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace {
const char* const kLevels[] = {"1: the most common words", "2: common words", "3: less common words"};
// The note shows this many of the level's words, as examples.
constexpr std::size_t kExamples = 3;
}

CRuleListDlg::CRuleListDlg(const CWordBank& bank, QWidget* parent, std::uint32_t seed)
    : QDialog(parent)
    , m_bank(bank)
    , m_engine(seed)
    , m_rule(new QComboBox(this))
    , m_level(new QComboBox(this))
    , m_number(new QSpinBox(this))
    , m_note(new QLabel(this))
{
    setWindowTitle(QStringLiteral("New List from a Rule"));
    for (const CWordBank::Topic& topic : CWordBank::Topics()) {
        std::size_t words = 0;
        for (int level = 1; level <= CWordBank::kLevels; ++level)
            words += bank.Count(topic.rule, level);
        if (words > 0)
            m_rule->addItem(QString::fromLatin1(topic.title), int(topic.rule));
    }
    for (const char* level : kLevels)
        m_level->addItem(QString::fromLatin1(level));
    m_number->setRange(kMinWords, kMaxWords);
    m_number->setValue(kDefaultWords);
    m_note->setWordWrap(true);
    SetControlId(m_rule, IDC_RULE);
    SetControlId(m_level, IDC_LEVEL);
    SetControlId(m_number, IDC_NUMBER);
    SetControlId(m_note, IDC_NOTE);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Spelling &rule:"), m_rule);
    form->addRow(QStringLiteral("&Level:"), m_level);
    form->addRow(QStringLiteral("&Number of words:"), m_number);
    auto* buttons = new COkCancelButtons(this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_note);
    layout->addStretch(1);
    layout->addWidget(buttons);

    connect(m_rule, &QComboBox::currentIndexChanged, this, &CRuleListDlg::UpdateNote);
    connect(m_level, &QComboBox::currentIndexChanged, this, &CRuleListDlg::UpdateNote);
    connect(m_number, &QSpinBox::valueChanged, this, &CRuleListDlg::UpdateNote);
    UpdateNote();
}

const CWordBank::Topic* CRuleListDlg::ChosenTopic() const
{
    return m_rule->currentIndex() < 0 ? nullptr
                                      : CWordBank::TopicOf(CRuleGroups::Rule(m_rule->currentData().toInt()));
}

int CRuleListDlg::ChosenLevel() const
{
    return m_level->currentIndex() + 1;
}

// Says how many words the bank has, with a few of them, so a parent sees what the rule means.
void CRuleListDlg::UpdateNote()
{
    const CWordBank::Topic* topic = ChosenTopic();
    const std::vector<std::string> none;
    const std::vector<std::string>& words = topic ? m_bank.Words(topic->rule, ChosenLevel()) : none;
    QString note;
    if (words.empty()) {
        note = QStringLiteral("There are no words for this rule at this level. Please choose another level.");
    } else {
        QStringList examples;
        for (std::size_t i = 0; i < std::min(kExamples, words.size()); ++i)
            examples << QString::fromStdString(words[i * (words.size() / std::min(kExamples, words.size()))]);
        note = QStringLiteral("%1 words for this rule at this level, such as %2.")
                   .arg(words.size())
                   .arg(examples.join(QStringLiteral(", ")));
        const std::size_t wanted = std::size_t(m_number->value());
        if (words.size() < wanted) {
            std::size_t all = 0;
            for (int level = 1; level <= CWordBank::kLevels; ++level)
                all += m_bank.Count(topic->rule, level);
            note += all >= wanted ? QStringLiteral(" The rest of the list comes from the next level.")
                                  : QStringLiteral(" The list will have all %1 words of this rule.").arg(all);
        }
    }
    m_note->setText(note);
    m_ok->setEnabled(!words.empty());
}

void CRuleListDlg::accept()
{
    const CWordBank::Topic* topic = ChosenTopic();
    if (!topic)
        return;
    m_words = m_bank.ChooseForLevel(topic->rule, ChosenLevel(), std::size_t(m_number->value()), m_engine);
    if (m_words.empty())
        return;
    m_title = CWordBank::ListTitle(*topic, ChosenLevel());
    QDialog::accept();
}
