#include "options/COptions.h"

#include "document/CKelto4AppCore.h"
#include "document/CKelto4Doc.h"
#include "model/KMessage.h"
#include "options/CTeacherPasswordDlg.h"
#include "platform/CBrowseFolder.h"
#include "platform/CControlIds.h"
#include "platform/CDialogService.h"
#include "platform/CQtText.h"
#include "platform/CReadingLook.h"
#include "sound/CSpeechEngine.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

namespace {
enum : int {
    IDC_STRETCH = 1000,
    IDC_CENTER = 1001,
    IDC_SOUND_FOLDER_BROWSE = 1009,
    IDC_USER_FOLDER_BROWSE = 1010,
    IDC_SOUND_FOLDER = 1020,
    IDC_USER_FOLDER = 1021,
    IDC_CHANGE_PASSWORD = 1022,
    IDC_AUTO_LOG_IN = 1024,
    IDC_RANDOMIZE = 1025,
    IDC_PICTURE = 1026,
    IDC_PICTURE_BROWSE = 1027,
    IDC_RESTORE = 1028,
    IDC_APPLY = 1029,
    IDC_SHOW_MENU = 1030,
    IDC_SHOW_FEEDBACK = 1052,
    IDC_SPEAK_MISSING_WORDS = 1040,
    IDC_VOICE = 1041,
    IDC_TRY_VOICE = 1042,
    IDC_SPEECH_RATE = 1043,
    IDC_SPEECH_RATE_TEXT = 1044,
    IDC_TEXT_SIZE = 1053,
    IDC_LETTER_SPACING = 1054,
    IDC_BACKGROUND = 1055,
    IDC_READING_FONT = 1056,
    IDC_READING_PREVIEW = 1057,
    IDC_CORRECT_MISTAKES = 1062,
    IDC_TEACHER_PASSWORD = 1063,
};

const char* const kTrySentence = "Hello! This is how I will say your spelling words.";
const char* const kPreviewText = "This is how words will look:";
}

COptions::COptions(CKelto4Doc* document, QWidget* parent)
    : CFormView(document, parent)
    , m_options(*document)
{
    // Made in reading order, which Tab follows: the folders and the picture, the
    // choices, then the spoken words and reading, then Apply and Restore.
    CFormBuilder& c = Controls();
    QLabel* title = c.Title("Options Page");
    QFrame* rule = c.Rule();
    auto folderRow = [&c](const char* caption, int editId, int buttonId, QGroupBox** group) {
        *group = c.Group(caption);
        QLineEdit* edit = c.ReadOnlyEdit(editId);
        CFormBuilder::Name(edit, ToQt(caption));
        QPushButton* browse = c.Button(buttonId, "...");
        // "..." stays a small button; the path gets the room.
        browse->setFixedWidth(browse->fontMetrics().horizontalAdvance(QStringLiteral("...")) * 3 + 12);
        auto* row = new QHBoxLayout;
        row->addWidget(edit, 1);
        row->addWidget(browse);
        return row;
    };
    QGroupBox* soundGroup = nullptr;
    QGroupBox* userGroup = nullptr;
    QGroupBox* pictureGroup = nullptr;
    QHBoxLayout* soundRow = folderRow("Default Sound Folder", IDC_SOUND_FOLDER, IDC_SOUND_FOLDER_BROWSE, &soundGroup);
    QHBoxLayout* userRow = folderRow("Default Users Folder", IDC_USER_FOLDER, IDC_USER_FOLDER_BROWSE, &userGroup);
    QHBoxLayout* pictureRow = folderRow("Background Picture", IDC_PICTURE, IDC_PICTURE_BROWSE, &pictureGroup);
    QRadioButton* stretch = c.Radio(IDC_STRETCH, "Stretch");
    QRadioButton* center = c.Radio(IDC_CENTER, "Center");
    QCheckBox* randomize = c.CheckBox(IDC_RANDOMIZE, "Randomize Spelling List While Taking A Test");
    QCheckBox* autoLogIn = c.CheckBox(IDC_AUTO_LOG_IN, "Log In Automatically");
    QPushButton* password = c.Button(IDC_CHANGE_PASSWORD, "Change Log In Password");
    QCheckBox* showMenu = c.CheckBox(IDC_SHOW_MENU, "Show Menu");
    QPushButton* teacherPassword = c.Button(IDC_TEACHER_PASSWORD, "Teacher Password...");
    QCheckBox* showFeedback = c.CheckBox(IDC_SHOW_FEEDBACK, "Show Feedback After A Wrong Answer");
    QCheckBox* correctMistakes = c.CheckBox(IDC_CORRECT_MISTAKES, "Correct Mistakes");
    correctMistakes->setToolTip(QStringLiteral("After a wrong answer the learner copies the word, then spells it "
                                               "from memory; the word is asked once more later in the test."));
    QGroupBox* spoken = c.Group("Spoken Words");
    QCheckBox* speakMissing = c.CheckBox(IDC_SPEAK_MISSING_WORDS, "Speak words that have no recording");
    auto* voice = c.ComboBox(IDC_VOICE);
    QSlider* rate = c.Slider(IDC_SPEECH_RATE);
    QPushButton* tryVoice = c.Button(IDC_TRY_VOICE, "Try");
    QLabel* rateText = c.Label(nullptr);
    SetControlId(rateText, IDC_SPEECH_RATE_TEXT);
    QGroupBox* reading = c.Group("Reading");
    QComboBox* readingCombos[4] = {c.Own(new QComboBox, IDC_TEXT_SIZE), c.Own(new QComboBox, IDC_LETTER_SPACING),
                                   c.Own(new QComboBox, IDC_BACKGROUND), c.Own(new QComboBox, IDC_READING_FONT)};
    m_preview = c.Label(kPreviewText);
    SetControlId(m_preview, IDC_READING_PREVIEW);
    QPushButton* apply = c.Button(IDC_APPLY, "Apply");
    QPushButton* restore = c.Button(IDC_RESTORE, "Restore");

    auto* pictureBox = new QVBoxLayout(pictureGroup);
    pictureBox->addLayout(pictureRow);
    auto* placementRow = new QHBoxLayout;
    placementRow->addWidget(stretch);
    placementRow->addWidget(center);
    placementRow->addStretch();
    pictureBox->addLayout(placementRow);
    (new QVBoxLayout(soundGroup))->addLayout(soundRow);
    (new QVBoxLayout(userGroup))->addLayout(userRow);
    // The two password buttons stand one above the other, beside their check boxes.
    auto* logInRows = new QGridLayout;
    logInRows->setContentsMargins(0, 0, 0, 0);
    logInRows->addWidget(autoLogIn, 0, 0);
    logInRows->addWidget(password, 0, 1);
    logInRows->addWidget(showMenu, 1, 0);
    logInRows->addWidget(teacherPassword, 1, 1);
    logInRows->setColumnStretch(2, 1);
    auto* left = new QVBoxLayout;
    left->setSpacing(4);
    for (QWidget* w : {static_cast<QWidget*>(soundGroup), static_cast<QWidget*>(userGroup),
                       static_cast<QWidget*>(pictureGroup), static_cast<QWidget*>(randomize)})
        left->addWidget(w);
    left->addLayout(logInRows);
    left->addWidget(showFeedback);
    left->addWidget(correctMistakes);
    left->addStretch();

    auto* spokenForm = new QGridLayout(spoken);
    spokenForm->addWidget(speakMissing, 0, 0, 1, 2);
    spokenForm->addWidget(c.Label("Voice", voice), 1, 0);
    spokenForm->addWidget(voice, 1, 1);
    QLabel* rateLabel = c.Label("Speech Rate", rate);
    rateLabel->setWordWrap(false);
    spokenForm->addWidget(rateLabel, 2, 0);
    spokenForm->addWidget(rate, 2, 1);
    // Try says the sentence in the voice and at the rate chosen above it.
    auto* tryRow = new QHBoxLayout;
    tryRow->addWidget(rateText, 1);
    tryRow->addWidget(tryVoice);
    spokenForm->addLayout(tryRow, 3, 1);
    spokenForm->setColumnStretch(1, 1);

    auto* readingForm = new QFormLayout(reading);
    const char* const readingLabels[4] = {"Text Size", "Letter Spacing", "Background", "Font"};
    for (int i = 0; i < 4; ++i) {
        QLabel* label = c.Label(readingLabels[i], readingCombos[i]);
        label->setWordWrap(false);
        readingForm->addRow(label, readingCombos[i]);
    }
    readingForm->addRow(m_preview);
    m_preview->setAutoFillBackground(true);
    m_preview->setFrameShape(QFrame::StyledPanel);
    m_preview->setMargin(6);
    m_preview->setTextFormat(Qt::RichText);
    CFormBuilder::Name(m_preview, QStringLiteral("Preview"));
    for (int i = 0; i < CReadingStyle::kTextSizes; ++i)
        readingCombos[0]->addItem(ToQt(CReadingStyle::TextSizeName(CReadingStyle::TextSize(i))));
    for (int i = 0; i < CReadingStyle::kSpacings; ++i)
        readingCombos[1]->addItem(ToQt(CReadingStyle::SpacingName(CReadingStyle::Spacing(i))));
    for (int i = 0; i < CReadingStyle::kBackgrounds; ++i)
        readingCombos[2]->addItem(ToQt(CReadingStyle::BackgroundName(CReadingStyle::Background(i))));
    readingCombos[3]->addItem(QStringLiteral("Plain Sans-Serif"), QString());
    for (const QString& family : QFontDatabase::families(QFontDatabase::Latin))
        if (!QFontDatabase::isPrivateFamily(family))
            readingCombos[3]->addItem(family, family);
    // Font names can be long; the box stays as wide as its neighbours.
    readingCombos[3]->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    readingCombos[3]->setMinimumContentsLength(12);
    m_preview->setWordWrap(true);
    // The line wraps to the width the column has rather than widening it.
    m_preview->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_preview->setMinimumWidth(fontMetrics().averageCharWidth() * 20);
    // The groups hold one or two rows each: little room around them.
    for (QGroupBox* group : {soundGroup, userGroup, pictureGroup, spoken, reading})
        group->layout()->setContentsMargins(8, 4, 8, 6);
    for (QComboBox* combo : readingCombos)
        connect(combo, &QComboBox::activated, this, [this] { ShowPreview(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(apply);
    buttons->addWidget(restore);
    auto* right = new QVBoxLayout;
    right->addWidget(spoken);
    right->addWidget(reading);
    right->addLayout(buttons);
    right->addStretch();

    auto* layout = new QGridLayout(this);
    layout->setVerticalSpacing(4);
    layout->addWidget(title, 0, 0, 1, 2);
    layout->addWidget(rule, 1, 0, 1, 2);
    layout->addLayout(left, 2, 0);
    layout->addLayout(right, 2, 1);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(2, 1);

    const std::pair<QWidget*, char> mnemonics[] = {
        {stretch, 'T'}, {center, 'E'}, {randomize, 'R'}, {autoLogIn, 'L'}, {password, 'G'}, {showMenu, 'M'},
        {showFeedback, 'B'}, {correctMistakes, 'C'}, {speakMissing, 'K'}, {voice, 'O'}, {tryVoice, 'Y'}, {rate, 'P'},
        {readingCombos[0], 'X'}, {readingCombos[1], 'I'}, {readingCombos[2], 'U'}, {readingCombos[3], 'N'},
        {apply, 'A'}, {restore, 'S'}};
    for (const auto& [control, letter] : mnemonics)
        CFormBuilder::SetMnemonic(control, QLatin1Char(letter));

    // The two radios are one group whatever else the page holds.
    auto* placement = new QButtonGroup(this);
    placement->addButton(stretch, 0);
    placement->addButton(center, 1);
    // A voice is picked from the installed ones, never typed.
    voice->setEditable(false);
    voice->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    voice->setMinimumContentsLength(12);
    rate->setRange(CSpeechEngine::kMinRate, CSpeechEngine::kMaxRate);
    rate->setSingleStep(5);
    rate->setPageStep(20);
    connect(rate, &QSlider::valueChanged, this, [this](int value) { ShowRate(value); });
}

COptions::~COptions() = default;

void COptions::OnInitialUpdate()
{
    OnUpdate(nullptr, 0);
}

void COptions::OnUpdate(CDocView*, long)
{
    m_options.Load();
    EnableDlgItem(IDC_AUTO_LOG_IN, m_options.m_autoLogInEnabled);
    FillVoices();
    UpdateData(false);
}

void COptions::OnCommand(int id)
{
    switch (id) {
    case IDC_SOUND_FOLDER_BROWSE:
        OnBrowseSoundFolder();
        break;
    case IDC_USER_FOLDER_BROWSE:
        OnBrowseUserFolder();
        break;
    case IDC_PICTURE_BROWSE:
        OnBrowsePicture();
        break;
    case IDC_CHANGE_PASSWORD:
        OnChangePassword();
        break;
    case IDC_TEACHER_PASSWORD:
        OnTeacherPassword();
        break;
    case IDC_APPLY:
        OnApply();
        break;
    case IDC_RESTORE:
        OnRestore();
        break;
    case IDC_TRY_VOICE:
        OnTryVoice();
        break;
    default:
        break;
    }
}

void COptions::DoDataExchange(bool saveAndValidate)
{
    auto* stretch = FindControl<QRadioButton>(this, IDC_STRETCH);
    auto* center = FindControl<QRadioButton>(this, IDC_CENTER);
    auto* autoLogIn = FindControl<QCheckBox>(this, IDC_AUTO_LOG_IN);
    auto* randomize = FindControl<QCheckBox>(this, IDC_RANDOMIZE);
    auto* showMenu = FindControl<QCheckBox>(this, IDC_SHOW_MENU);
    auto* showFeedback = FindControl<QCheckBox>(this, IDC_SHOW_FEEDBACK);
    auto* correctMistakes = FindControl<QCheckBox>(this, IDC_CORRECT_MISTAKES);
    auto* speakMissing = FindControl<QCheckBox>(this, IDC_SPEAK_MISSING_WORDS);
    auto* voice = FindControl<QComboBox>(this, IDC_VOICE);
    auto* rate = FindControl<QSlider>(this, IDC_SPEECH_RATE);
    auto* textSize = FindControl<QComboBox>(this, IDC_TEXT_SIZE);
    auto* spacing = FindControl<QComboBox>(this, IDC_LETTER_SPACING);
    auto* background = FindControl<QComboBox>(this, IDC_BACKGROUND);
    auto* readingFont = FindControl<QComboBox>(this, IDC_READING_FONT);
    if (saveAndValidate) {
        m_options.m_defaultSoundFolder = GetDlgItemText(IDC_SOUND_FOLDER);
        m_options.m_defaultImage = GetDlgItemText(IDC_PICTURE);
        // With neither radio set the loaded placement stands.
        if (stretch->isChecked())
            m_options.m_imageStretch = 0;
        else if (center->isChecked())
            m_options.m_imageStretch = 1;
        m_options.m_autoLogIn = autoLogIn->isChecked();
        m_options.m_randomizeList = randomize->isChecked();
        m_options.m_showMenu = showMenu->isChecked();
        m_options.m_showFeedback = showFeedback->isChecked();
        m_options.m_correctMistakes = correctMistakes->isChecked();
        m_options.m_defaultUserFolder = GetDlgItemText(IDC_USER_FOLDER);
        m_options.m_speakMissingWords = speakMissing->isChecked();
        if (voice->currentIndex() >= 0)
            m_options.m_voice = FromQt(voice->currentData().toString());
        m_options.m_speechRate = rate->value();
        m_options.m_reading.textSize = CReadingStyle::ToTextSize(textSize->currentIndex());
        m_options.m_reading.spacing = CReadingStyle::ToSpacing(spacing->currentIndex());
        m_options.m_reading.background = CReadingStyle::ToBackground(background->currentIndex());
        if (readingFont->currentIndex() >= 0)
            m_options.m_reading.font = FromQt(readingFont->currentData().toString());
    } else {
        SetDlgItemText(IDC_SOUND_FOLDER, m_options.m_defaultSoundFolder);
        SetDlgItemText(IDC_PICTURE, m_options.m_defaultImage);
        // Any placement but 0 centres the picture.
        (m_options.m_imageStretch == 0 ? stretch : center)->setChecked(true);
        autoLogIn->setChecked(m_options.m_autoLogIn);
        randomize->setChecked(m_options.m_randomizeList);
        showMenu->setChecked(m_options.m_showMenu);
        showFeedback->setChecked(m_options.m_showFeedback);
        correctMistakes->setChecked(m_options.m_correctMistakes);
        SetDlgItemText(IDC_USER_FOLDER, m_options.m_defaultUserFolder);
        speakMissing->setChecked(m_options.m_speakMissingWords);
        voice->setCurrentIndex(voice->findData(ToQt(m_options.m_voice)));
        rate->setValue(m_options.m_speechRate);
        ShowRate(m_options.m_speechRate);
        textSize->setCurrentIndex(int(m_options.m_reading.textSize));
        spacing->setCurrentIndex(int(m_options.m_reading.spacing));
        background->setCurrentIndex(int(m_options.m_reading.background));
        // A font that is no longer installed is still named, so Apply keeps it.
        if (readingFont->findData(ToQt(m_options.m_reading.font)) < 0)
            readingFont->addItem(ToQt(m_options.m_reading.font), ToQt(m_options.m_reading.font));
        readingFont->setCurrentIndex(readingFont->findData(ToQt(m_options.m_reading.font)));
        ShowPreview();
    }
}

void COptions::OnBrowseSoundFolder()
{
    UpdateData(true);
    if (m_options.ChooseSoundFolder(CBrowseFolder().Choose()))
        UpdateData(false);
}

void COptions::OnBrowseUserFolder()
{
    UpdateData(true);
    if (m_options.ChooseUserFolder(CBrowseFolder().Choose()))
        UpdateData(false);
}

void COptions::OnBrowsePicture()
{
    UpdateData(true);
    const std::optional<QString> file = CDialogService::GetOpenFileName(
        this, QString(), ToQt(COptionsEditor::QtFilterFromWindows(COptionsEditor::kPictureFilter)));
    if (!file || file->isEmpty())
        return;
    // The picture is kept as 8-bit text in the settings.
    const std::optional<std::string> picture = CDialogService::StorablePath(*file, "picture");
    if (!picture)
        return;
    m_options.ChoosePicture(*picture);
    UpdateData(false);
}

void COptions::OnChangePassword()
{
    CKelto4AppCore& app = GetDocument()->GetApp();
    if (app.RunChangePasswordDialog(app.m_userFolder))
        ShowMessage("Password Changed.", MsgIcon::Information);
}

void COptions::OnTeacherPassword()
{
    CTeacherPasswordDlg(GetDocument()->GetApp().m_userFolder, this).exec();
}

void COptions::OnApply()
{
    m_options.Apply([this] { UpdateData(true); });
}

void COptions::OnRestore()
{
    OnUpdate(nullptr, 0);
}

void COptions::FillVoices()
{
    auto* voice = FindControl<QComboBox>(this, IDC_VOICE);
    voice->clear();
    // Listing the voices starts the speech engine: on the first visit to this page, not at start-up.
    for (const CSpeechEngine::Voice& v : GetDocument()->m_speaker.Engine().EnglishVoices())
        voice->addItem(ToQt(v.name), ToQt(v.language));
    if (voice->findData(ToQt(m_options.m_voice)) < 0)
        voice->addItem(ToQt(m_options.m_voice), ToQt(m_options.m_voice));
}

void COptions::ShowRate(int wordsPerMinute)
{
    SetDlgItemText(IDC_SPEECH_RATE_TEXT, std::to_string(wordsPerMinute) + " words a minute");
}

void COptions::ShowPreview()
{
    UpdateData(true);
    const CReadingStyle& style = m_options.m_reading;
    const CReadingStyle::Colours colours = style.GetColours(CReadingLook::DesktopIsDark());
    QFont base = font();
    m_preview->setFont(CReadingLook::Font(style, base));
    QPalette palette = m_preview->palette();
    palette.setColor(QPalette::Window, CReadingLook::ToQColor(colours.paper));
    palette.setColor(QPalette::WindowText, CReadingLook::ToQColor(colours.text));
    m_preview->setPalette(palette);
    // The answers' own colours too, as the test page shows a right and a wrong answer.
    m_preview->setText(QStringLiteral("%1 because, said, <span style=\"color:%2\">friend</span> "
                                      "<span style=\"color:%3\">freind</span>")
                           .arg(ToQt(kPreviewText).toHtmlEscaped(), CReadingLook::ToQColor(colours.right).name(),
                                CReadingLook::ToQColor(colours.wrong).name()));
}

void COptions::OnTryVoice()
{
    UpdateData(true);
    CSpeaker& speaker = GetDocument()->m_speaker;
    speaker.Configure(m_options.m_voice, m_options.m_speechRate);
    speaker.Say(kTrySentence);
}
