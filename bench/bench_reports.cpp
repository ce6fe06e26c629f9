// Filling the reports page with 100,000 misspelled-word records: rows, analysis, model
// and column auto-sizing, through the real page.
#include "CTestAppCore.h"
#include "model/CKelto4Doc.h"
#include "platform/CControlIds.h"
#include "reports/CReports.h"

#include <QApplication>
#include <QRadioButton>
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
        auto m = std::make_unique<CMissed>();
        m->m_listName = "week" + std::to_string(i % 30);
        m->m_date = "12/06/26, 06:02 PM";
        m->m_word = pairs[i % 6][0];
        m->m_misspelling = pairs[i % 6][1];
        doc.m_missedList.push_back(std::move(m));
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

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
