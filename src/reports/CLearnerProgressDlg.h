#pragma once
#include "reports/CProgressStats.h"

#include <QDialog>

#include <string>

class CProgressView;
class CSoundComparison;

// One learner's Progress view, opened from the class view: the same charts the learner sees
// on their own reports page, worked out from their record files in the user folder (read
// without any lock, never written).
class CLearnerProgressDlg : public QDialog {
    Q_OBJECT
public:
    // folder and learner are Windows-1252; sounds (if given) compares the misspellings by sound.
    CLearnerProgressDlg(const std::string& folder, const std::string& learner, CSoundComparison* sounds,
                        QWidget* parent = nullptr);

    // False (after saying why) when the learner's files can't be read.
    bool Load();
    CProgressView* GetProgressView() const { return m_view; }
    const CProgressStats& GetStats() const { return m_stats; }

    // Shows learner's progress modally; nothing when their files can't be read.
    static void Show(const std::string& folder, const std::string& learner, CSoundComparison* sounds,
                     QWidget* parent);

private:
    std::string m_folder;
    std::string m_learner;
    CSoundComparison* m_sounds;
    CProgressStats m_stats;
    CProgressView* m_view;
};
