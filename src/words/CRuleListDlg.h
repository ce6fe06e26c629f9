#pragma once
#include "spelling/CWordBank.h"

#include <QDialog>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

// "New List from a Rule": the parent picks a spelling rule, a level and a number of
// words; OK draws that many different words at random from the rule's word bank.
class CRuleListDlg : public QDialog {
    Q_OBJECT
public:
    enum ControlId : int { IDC_RULE = 1101, IDC_LEVEL = 1102, IDC_NUMBER = 1103, IDC_NOTE = 1104 };
    static constexpr int kMinWords = 5;
    static constexpr int kMaxWords = 40;
    static constexpr int kDefaultWords = 12;

    // seed: the same one draws the same words again (tests); by default a random one.
    explicit CRuleListDlg(const CWordBank& bank, QWidget* parent = nullptr,
                          std::uint32_t seed = std::random_device{}());

    // After OK: the words drawn, and the list's title ("ie and ei, level 1").
    const std::vector<std::string>& Words() const { return m_words; }
    const std::string& Title() const { return m_title; }

    void accept() override;

private:
    const CWordBank::Topic* ChosenTopic() const;
    int ChosenLevel() const;
    void UpdateNote();

    const CWordBank& m_bank;
    std::mt19937 m_engine;
    QComboBox* m_rule;
    QComboBox* m_level;
    QSpinBox* m_number;
    QLabel* m_note;
    QPushButton* m_ok = nullptr;
    std::vector<std::string> m_words;
    std::string m_title;
};
