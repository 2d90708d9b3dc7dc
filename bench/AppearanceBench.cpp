// Applying a new display font to the main window and laying it out, at 14, 72
// and 200 points, offscreen. The baseline in the same run is the toolkit's own
// work for one label taking the same new font, so the two read as a ratio.
#include "app/TForm1.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void BM_FontApplyAndLayOut(benchmark::State& state)
{
    TForm1 form;
    form.show();
    form.Timer1->stop(); // no start-values dialog
    const int points = static_cast<int>(state.range(0));
    int i = 0;
    for (auto _ : state) {
        // Alternate two sizes so every round applies a font the controls do not have yet.
        form.FontDialog1.Font.setSize(points + (i++ & 1));
        form.setHintergrundNr(form.HintergrundNr());
    }
}
BENCHMARK(BM_FontApplyAndLayOut)->Arg(14)->Arg(72)->Arg(200)->Unit(benchmark::kMicrosecond);

void BM_Baseline_OneLabel(benchmark::State& state)
{
    QLabel label(QStringLiteral("Startwert-Bildbreite:"));
    label.show();
    TFont font;
    font.Name = QStringLiteral("Arial");
    const int points = static_cast<int>(state.range(0));
    int i = 0;
    for (auto _ : state) {
        font.setSize(points + (i++ & 1));
        label.setFont(font.toQFont());
        label.adjustSize();
    }
}
BENCHMARK(BM_Baseline_OneLabel)->Arg(14)->Arg(72)->Arg(200)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config; // the window loads its settings: never the user's own
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
