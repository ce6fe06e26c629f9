#include "options/COptions.h"

#include "document/CKelto4AppCore.h"
#include "document/CKelto4Doc.h"
#include "model/KMessage.h"
#include "options/CTeacherPasswordDlg.h"
#include "platform/CBrowseFolder.h"
#include "platform/CControlIds.h"
#include "platform/CDialogService.h"
#include "platform/CQtText.h"
#include "sound/CSpeechEngine.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>

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
    IDC_TEACHER_PASSWORD = 1053,
    IDC_SPEAK_MISSING_WORDS = 1040,
    IDC_VOICE = 1041,
    IDC_TRY_VOICE = 1042,
    IDC_SPEECH_RATE = 1043,
    IDC_SPEECH_RATE_TEXT = 1044,
};

const CFormControl kTemplate[] = {
    {CFormControl::CenterLabel, 0, "Options Page", 7, 7, 306, 11},
    {CFormControl::HLine, 0, nullptr, 8, 18, 306, 1},
    {CFormControl::GroupBox, 0, "Default Sound Folder", 7, 23, 306, 27},
    {CFormControl::ReadOnlyEdit, IDC_SOUND_FOLDER, nullptr, 14, 33, 268, 12},
    {CFormControl::Button, IDC_SOUND_FOLDER_BROWSE, "...", 287, 33, 18, 12},
    {CFormControl::GroupBox, 0, "Default Users Folder", 7, 53, 306, 27},
    {CFormControl::ReadOnlyEdit, IDC_USER_FOLDER, nullptr, 14, 63, 268, 12},
    {CFormControl::Button, IDC_USER_FOLDER_BROWSE, "...", 287, 63, 18, 12},
    {CFormControl::GroupBox, 0, "Background Picture", 7, 83, 306, 41},
    {CFormControl::ReadOnlyEdit, IDC_PICTURE, nullptr, 14, 93, 268, 12},
    {CFormControl::Button, IDC_PICTURE_BROWSE, "...", 287, 93, 18, 12},
    {CFormControl::Radio, IDC_STRETCH, "Stretch", 14, 109, 70, 10},
    {CFormControl::Radio, IDC_CENTER, "Center", 90, 109, 70, 10},
    {CFormControl::CheckBox, IDC_RANDOMIZE, "Randomize Spelling List While Taking A Test", 10, 130, 300, 10},
    {CFormControl::CheckBox, IDC_AUTO_LOG_IN, "Log In Automatically", 10, 145, 150, 10},
    {CFormControl::Button, IDC_CHANGE_PASSWORD, "Change Log In Password", 180, 143, 125, 14},
    {CFormControl::CheckBox, IDC_SHOW_MENU, "Show Menu", 10, 160, 150, 10},
    {CFormControl::Button, IDC_TEACHER_PASSWORD, "Teacher Password...", 180, 158, 125, 14},
    {CFormControl::CheckBox, IDC_SHOW_FEEDBACK, "Show Feedback After A Wrong Answer", 10, 175, 165, 10},
    {CFormControl::GroupBox, 0, "Spoken Words", 7, 188, 306, 58},
    {CFormControl::CheckBox, IDC_SPEAK_MISSING_WORDS, "Speak words that have no recording", 14, 199, 200, 10},
    {CFormControl::Label, 0, "Voice", 14, 214, 50, 10},
    {CFormControl::ComboBox, IDC_VOICE, nullptr, 66, 212, 150, 13},
    {CFormControl::Button, IDC_TRY_VOICE, "Try", 225, 212, 40, 14},
    {CFormControl::Label, 0, "Speech Rate", 14, 230, 50, 10},
    {CFormControl::Slider, IDC_SPEECH_RATE, nullptr, 66, 228, 150, 14},
    {CFormControl::Label, IDC_SPEECH_RATE_TEXT, nullptr, 225, 230, 85, 10},
    {CFormControl::Button, IDC_APPLY, "Apply", 180, 252, 60, 14},
    {CFormControl::Button, IDC_RESTORE, "Restore", 245, 252, 60, 14},
};

const char* const kTrySentence = "Hello! This is how I will say your spelling words.";
}

COptions::COptions(CKelto4Doc* document, QWidget* parent)
    : CFormView(document, parent)
    , m_options(*document)
{
    BuildForm(kTemplate, int(std::size(kTemplate)), 320, 272);
    // The two radios are one group whatever else the page holds.
    auto* placement = new QButtonGroup(this);
    placement->addButton(FindControl<QRadioButton>(this, IDC_STRETCH), 0);
    placement->addButton(FindControl<QRadioButton>(this, IDC_CENTER), 1);
    // A voice is picked from the installed ones, never typed.
    FindControl<QComboBox>(this, IDC_VOICE)->setEditable(false);
    auto* rate = FindControl<QSlider>(this, IDC_SPEECH_RATE);
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
    auto* speakMissing = FindControl<QCheckBox>(this, IDC_SPEAK_MISSING_WORDS);
    auto* voice = FindControl<QComboBox>(this, IDC_VOICE);
    auto* rate = FindControl<QSlider>(this, IDC_SPEECH_RATE);
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
        m_options.m_defaultUserFolder = GetDlgItemText(IDC_USER_FOLDER);
        m_options.m_speakMissingWords = speakMissing->isChecked();
        if (voice->currentIndex() >= 0)
            m_options.m_voice = FromQt(voice->currentData().toString());
        m_options.m_speechRate = rate->value();
    } else {
        SetDlgItemText(IDC_SOUND_FOLDER, m_options.m_defaultSoundFolder);
        SetDlgItemText(IDC_PICTURE, m_options.m_defaultImage);
        // Any placement but 0 centres the picture.
        (m_options.m_imageStretch == 0 ? stretch : center)->setChecked(true);
        autoLogIn->setChecked(m_options.m_autoLogIn);
        randomize->setChecked(m_options.m_randomizeList);
        showMenu->setChecked(m_options.m_showMenu);
        showFeedback->setChecked(m_options.m_showFeedback);
        SetDlgItemText(IDC_USER_FOLDER, m_options.m_defaultUserFolder);
        speakMissing->setChecked(m_options.m_speakMissingWords);
        voice->setCurrentIndex(voice->findData(ToQt(m_options.m_voice)));
        rate->setValue(m_options.m_speechRate);
        ShowRate(m_options.m_speechRate);
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

void COptions::OnTryVoice()
{
    UpdateData(true);
    CSpeaker& speaker = GetDocument()->m_speaker;
    speaker.Configure(m_options.m_voice, m_options.m_speechRate);
    speaker.Say(kTrySentence);
}
