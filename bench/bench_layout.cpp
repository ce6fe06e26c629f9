// Laying out each page at 20 window sizes, from its least size to twice that: the time
// of one layout, as resizing the window or switching pages costs it. And a change of
// the reading settings re-laying and painting the test page (the target: under 50 ms).
#include "app/CKelto4View.h"
#include "CTestAppCore.h"
#include "document/CKelto4Doc.h"
#include "options/COptions.h"
#include "RecordBuilders.h"
#include "reports/CReports.h"
#include "spelltest/CTest.h"
#include "words/CWords.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <memory>

namespace {
std::unique_ptr<CFormView> MakePage(int n, CKelto4Doc& doc)
{
    switch (n) {
    case 0: return std::make_unique<CKelto4View>(&doc);
    case 1: return std::make_unique<CWords>(&doc);
    case 2: return std::make_unique<CTest>(&doc);
    case 3: return std::make_unique<CReports>(&doc);
    default: return std::make_unique<COptions>(&doc);
    }
}
}

static void BM_LayOutPage(benchmark::State& state)
{
    static const char* const names[] = {"start", "words", "test", "reports", "options"};
    CTestAppCore app;
    CKelto4Doc doc(app);
    doc.m_userName = "Ann";
    for (int i = 0; i < 200; ++i) {
        doc.m_wordList.push_back(Entry("", "/tmp", "word" + std::to_string(i)));
        doc.m_missedList.push_back(Missed("week1", "12/06/26, 06:02 PM", "friend", "freind"));
    }
    std::unique_ptr<CFormView> page = MakePage(int(state.range(0)), doc);
    page->OnInitialUpdate();
    page->show();
    QApplication::processEvents();
    const QSize least = page->minimumSizeHint();
    std::vector<QSize> sizes;
    for (int i = 0; i < 20; ++i)
        sizes.push_back(least + QSize(least.width() * i / 19, least.height() * i / 19));
    size_t next = 0;
    for (auto _ : state) {
        page->resize(sizes[next]);
        QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        next = (next + 1) % sizes.size();
    }
    state.SetLabel(names[state.range(0)]);
}
BENCHMARK(BM_LayOutPage)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

// Apply on the options page updates every page; the test page takes the new reading
// style (text size, spacing and background in turn) and is laid out and painted again.
static void BM_ReadingChangeRelaysTheTestPage(benchmark::State& state)
{
    CTestAppCore app;
    CKelto4Doc doc(app);
    for (const char* word : {"because", "friend", "said"})
        doc.m_wordList.push_back(Entry("", "/tmp", word));
    CTest page(&doc);
    page.resize(1000, 700);
    page.OnInitialUpdate();
    page.show();
    QApplication::processEvents();
    const CReadingStyle styles[] = {
        {CReadingStyle::VeryLarge, CReadingStyle::ExtraWide, CReadingStyle::Cream, ""},
        {CReadingStyle::Normal, CReadingStyle::NormalSpacing, CReadingStyle::White, ""},
        {CReadingStyle::Large, CReadingStyle::Wide, CReadingStyle::PaleBlue, ""},
    };
    size_t next = 0;
    for (auto _ : state) {
        // Storing the setting is Apply's work, before the pages hear of it.
        state.PauseTiming();
        app.SetReadingStyle(styles[next]);
        state.ResumeTiming();
        page.OnUpdate(nullptr, 0);
        QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        page.repaint();
        next = (next + 1) % std::size(styles);
    }
}
BENCHMARK(BM_ReadingChangeRelaysTheTestPage)->Unit(benchmark::kMillisecond);
