// Filling the reports page with 100,000 misspelled-word records: rows, analysis, model
// and column auto-sizing, through the real page. And the Progress view from 100,000
// misspelled-word records, 10,000 results and a word memory of 10,000 words: statistics,
// analysis and the four charts, and with them the first full paint of the page (the
// target: under 300 ms).
#include "CTestAppCore.h"
#include "document/CKelto4Doc.h"
#include "platform/CControlIds.h"
#include "RecordBuilders.h"
#include "reports/CReports.h"

#include <QApplication>
#include <QRadioButton>

#include <cstdio>
#include <benchmark/benchmark.h>

static void BM_FillMisspelledWords(benchmark::State& state)
{
    static const char* const pairs[][2] = {{"friend", "freind"}, {"receive", "recieve"}, {"happiness", "happyness"},
                                           {"church", "curch"}, {"quickly", "quick"}, {"twelve", "tweleve"}};
    CTestAppCore app;
    CKelto4Doc doc(app);
    doc.m_userName = "Ann";
    const int n = int(state.range(0));
    for (int i = 0; i < n; ++i) {
        doc.m_missedList.push_back(
            Missed("week" + std::to_string(i % 30), "12/06/26, 06:02 PM", pairs[i % 6][0], pairs[i % 6][1]));
    }
    CReports page(&doc);
    page.show();
    page.OnInitialUpdate();
    for (auto _ : state) {
        FindControl<QRadioButton>(&page, 1001)->click(); // fill the misspelled words
        QApplication::processEvents();
        state.PauseTiming();
        FindControl<QRadioButton>(&page, 1000)->click();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_FillMisspelledWords)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

namespace {
// About ten tests a day over three years, and misspellings of which some pairs repeat,
// as a learner's mistakes do, and many are different.
void FillRecords(CKelto4Doc& doc, int missed, int results)
{
    static const char* const pairs[][2] = {
        {"friend", "freind"},   {"receive", "recieve"}, {"happiness", "happyness"}, {"church", "curch"},
        {"quickly", "quick"},   {"twelve", "tweleve"},  {"horses", "horss"},        {"watch", "wach"},
        {"bridge", "brij"},     {"sneeze", "sneez"},    {"Friday", "friday"},       {"street", "set"},
        {"making", "makeing"},  {"leaves", "leafs"},    {"cat", "kat"},             {"cake", "cak"}};
    doc.m_userName = "Ann";
    for (int i = 0; i < results; ++i) {
        char date[40];
        std::snprintf(date, sizeof date, "%02d/%02d/%02d, %02d:%02d %s", 1 + (i / 280) % 12, 1 + (i / 10) % 28,
                      24 + i / 3360, 1 + i % 12, i % 60, i % 2 ? "PM" : "AM");
        doc.m_gradeList.push_front(Grade("week" + std::to_string(i % 30) + (i % 11 == 0 ? "--Stopped Test" : ""),
                                         i % 97 == 0 ? "Time Error" : date, i % 11, 10));
    }
    for (int i = 0; i < missed; ++i) {
        const auto& pair = pairs[i % 16];
        doc.m_missedList.push_back(Missed("week" + std::to_string(i % 30), "12/06/26, 06:02 PM",
                                          pair[0] + std::string(i % 7 == 0 ? "s" : ""),
                                          pair[1] + std::to_string(i % 1000)));
    }
    // Every word asked over those years, one in twenty of them stubborn.
    for (int i = 0; i < results; ++i) {
        CWordMemory::Entry entry;
        entry.word = "word" + std::to_string(i);
        entry.asked = 8;
        entry.missed = i % 20 == 0 ? 5 : 1;
        doc.m_memory.Add(entry);
    }
}
}

static void BM_FillProgress(benchmark::State& state)
{
    CTestAppCore app;
    CKelto4Doc doc(app);
    const int missed = int(state.range(0));
    const int results = int(state.range(1));
    FillRecords(doc, missed, results);
    CReports page(&doc);
    page.show();
    page.OnInitialUpdate();
    for (auto _ : state) {
        FindControl<QRadioButton>(&page, 1002)->click(); // fill the Progress view
        QApplication::processEvents();
        state.PauseTiming();
        FindControl<QRadioButton>(&page, 1000)->click();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * (missed + results));
}
BENCHMARK(BM_FillProgress)->Args({100000, 10000})->Unit(benchmark::kMillisecond)->Iterations(3);

// From the click on "Progress" to the page painted whole, charts included, at the size
// of a large window.
static void BM_ProgressFirstPaint(benchmark::State& state)
{
    CTestAppCore app;
    CKelto4Doc doc(app);
    FillRecords(doc, int(state.range(0)), int(state.range(1)));
    CReports page(&doc);
    page.resize(1200, 800);
    page.show();
    page.OnInitialUpdate();
    QApplication::processEvents();
    for (auto _ : state) {
        FindControl<QRadioButton>(&page, 1002)->click();
        QApplication::processEvents();
        page.repaint();
        state.PauseTiming();
        FindControl<QRadioButton>(&page, 1000)->click();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ProgressFirstPaint)->Args({100000, 10000})->Unit(benchmark::kMillisecond)->Iterations(3);
