#pragma once
#include "platform/CFormView.h"
#include "reports/CProgressStats.h"
#include "reports/CReportPrinter.h"
#include "reports/CReportRows.h"

#include <array>

class CClassView;
class CFeedbackPanel;
class CProgressView;
class CReportModel;
class QPrinter;
class QTableView;

// Reports Page: the logged-in user's results ("Grades") or misspelled words, in one
// list. Rows are deleted in the list first and reach the document's lists only when
// committed (Save Changes, or switching between the two lists); a document update
// drops deletions not yet committed. The rows and the commit live in m_rows, the
// printed report in m_printer. A third view, "Progress", shows charts of the same
// records (m_progress) instead of the list; a fourth, "Class", shows every learner of the
// user folder to the teacher (m_classView). "Export..." saves the view shown as CSV.
class CReports : public CFormView {
    Q_OBJECT
public:
    explicit CReports(CKelto4Doc* document, QWidget* parent = nullptr);
    ~CReports() override;
    void OnInitialUpdate() override;
    void OnUpdate(CDocView* sender, long hint) override;

    const CReportRows& GetRows() const { return m_rows; }
    CReportPrinter& GetReportPrinter() { return m_printer; }
    QTableView* GetListView() const { return m_listView; }
    const CFeedbackPanel* GetFeedback() const { return m_feedback; }
    CProgressView* GetProgressView() const { return m_progressView; }
    CClassView* GetClassView() const { return m_classView; }

public slots:
    // The print commands: print with the print dialog, print to the default printer,
    // and the print preview, from which the report can be printed.
    void OnFilePrint();
    void OnFilePrintDirect();
    void OnFilePrintPreview();
    // Draws the report of the list shown onto printer (a print job, or the preview's pages).
    bool PrintReport(QPrinter* printer);

protected:
    void OnCommand(int id) override;
    void hideEvent(QHideEvent* event) override;

private:
    void OnGrades();
    void OnMisspelled();
    void OnDeleteSelection();
    void OnDeleteAll();
    void OnSaveChanges();
    void OnPrintButton();
    void OnPractiseMissedWords();
    // The feedback panel for the selected misspelled word; hidden otherwise.
    void ShowSelectedFeedback();
    void OnProgress();
    // Every learner of the user folder, after the teacher's password when one is set.
    void OnClass();
    void OnShowLearnerProgress(const QString& learner);
    // "Class -- " and the user folder's name: the printout's title and the export's name.
    std::string ClassTitle() const;
    void OnExport();
    // The list or the charts, by the view mode, and the buttons that fit it.
    void ShowViewMode();

    // Shows the radio value.
    void UpdateData();
    // The list view after the rows were filled again: new columns, each auto-sized.
    void ShowNewColumns();
    // The list view after rows were deleted: the columns keep their widths.
    void ShowRemainingRows();
    void ApplyHiddenColumns();
    // The larger of the header and the widest text of the column, in pixels.
    int AutoSizeWidth(int column) const;
    void CreateImageLists();

    CReportRows m_rows;
    CReportPrinter m_printer;
    CReportModel* m_model;
    QTableView* m_listView;
    CProgressStats m_progress;
    CProgressView* m_progressView;
    CClassView* m_classView;
    CFeedbackPanel* m_feedback;
    int m_radio = 0;
    bool m_imageListsCreated = false;
};
