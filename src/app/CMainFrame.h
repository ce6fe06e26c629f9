#pragma once
#include "app/CRecentFileList.h"
#include "model/CDocView.h"
#include "model/COwnedList.h"
#include "model/CSpellingList.h"

#include <QMainWindow>
#include <functional>
#include <map>

class CCommandManager;
class CFormView;
class CKelto4Doc;
class QLabel;
class QMenu;
class QStackedWidget;
class QToolBar;
class QUrl;

// The main window: the page bar on the left, one page at a time, the status pane
// with the user's name and the menu bar. It decides which commands may run from
// the document's state; pages are made on first entry and kept.
class CMainFrame : public QMainWindow, public CDocView {
    Q_OBJECT
public:
    // Opens a page of the user guide in the desktop's browser; false when nothing opened it.
    using UrlOpener = std::function<bool(const QUrl&)>;

    explicit CMainFrame(CKelto4Doc* document, QWidget* parent = nullptr, UrlOpener openUrl = {});
    ~CMainFrame() override;

    CCommandManager& Commands() { return *m_commands; }
    CKelto4Doc* GetDocument() const { return m_document; }

    int m_currentPage = 1;

    void SwitchToPage(int n);
    void ShowMenu(bool show);
    CFormView* Page(int n) const;
    CFormView* ActivePage() const { return Page(m_currentPage); }
    QToolBar* PageBar() const { return m_wndToolBar; }
    QLabel* UserPane() const { return m_userPane; }
    CRecentFileList& RecentFiles() { return m_recentFiles; }

    // The file commands, as the menu and the keys run them.
    void OnFileNew();
    void OnFileOpen();
    bool OnFileSave();
    bool OnFileSaveAs();
    bool OpenDocumentFile(const QString& path);
    // "Save changes to %1?" while the list is modified; false when the user cancelled.
    bool SaveModified();
    // A new, untitled list of the learner's missed words, opened on the test page.
    void OnPractiseMissedWords();
    // A new list of words drawn from a spelling rule's word bank, shown on the words page.
    void OnNewListFromRule();
    // The words of a word list file added to the list on the words page.
    void OnImportWords();
    // The list's words written as plain text or as a KDE vocabulary file.
    void OnExportWords();
    void OnTodaysReview();
    // The user guide, at section (an anchor such as "getting-started") or at its start.
    void OpenUserGuide(const QString& section = {});
    // Replaces the list (asking first to save a changed one), marked modified when asked,
    // and opens the page of command page.
    void TakeNewList(COwnedList<CSpellingList> words, const std::string& title, int page, bool modified);

    void OnUpdate(CDocView* sender, long hint) override;

    // The window's context menu, without the entry that would hide the page bar: with
    // the menu bar off the pages would be out of reach.
    QMenu* createPopupMenu() override;
    // The window's size and place as the last run left them; false at the first run.
    bool RestorePlacement();
    static constexpr const char* kPlacementSection = "Window";
    static constexpr const char* kPlacementEntry = "Placement";

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateCommands();
    void CreatePageBar();
    void CreateMenu();
    void UpdateRecentMenu();
    void UpdateCaption();
    // The open itself, after any "Save changes" question; path is native.
    bool OpenFile(const std::string& path);
    void OpenRecentFile(int index);
    bool DoSave(const std::string& path);
    // Where a save dialog starts: the list's name with extension, in the list's folder.
    QString SaveDialogStart(const QString& extension) const;
    CFormView* CreatePage(int n);
    // Page n, made (and given its initial update) if it doesn't exist yet.
    CFormView* EnsurePage(int n);

    CKelto4Doc* m_document;
    UrlOpener m_openUrl;
    CCommandManager* m_commands;
    QStackedWidget* m_pages;
    std::map<int, CFormView*> m_pageViews;
    QToolBar* m_wndToolBar = nullptr;
    QLabel* m_userPane = nullptr;
    QMenu* m_recentMenu = nullptr;
    CRecentFileList m_recentFiles{4};
};
