// The windows' speed, offscreen: from constructing both windows to the laid-out
// main window on screen and the start-values dialog open, and one keystroke in
// a new-value field until the other field shows its value. Each is paired with
// a baseline of plain toolkit work in the same run, to read as a ratio.
#include "app/TForm1.h"
#include "app/TPixelForm.h"
#include "controls/TSpinEdit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QTimer>
#include <benchmark/benchmark.h>

namespace {

// Watches the dialog's showing: notes the moment and cancels it at once.
class DialogOpened : public QObject {
public:
    QElapsedTimer* clock = nullptr;
    qint64 openedAt = -1;
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Show && openedAt < 0) {
            openedAt = clock->nsecsElapsed();
            QTimer::singleShot(0, static_cast<QDialog*>(o), &QDialog::reject);
        }
        return false;
    }
};

void BM_StartUpToDialogOpen(benchmark::State& state)
{
    double shownNs = 0, dialogNs = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        auto form = std::make_unique<TForm1>();
        auto pixel = std::make_unique<TPixelForm>(form.get());
        DialogOpened watch;
        watch.clock = &clock;
        pixel->installEventFilter(&watch);
        form->show();
        shownNs += static_cast<double>(clock.nsecsElapsed());
        QEventLoop loop;
        QObject::connect(pixel.get(), &QDialog::finished, &loop, &QEventLoop::quit);
        loop.exec();
        dialogNs += static_cast<double>(watch.openedAt);
        state.PauseTiming();
        pixel.reset();
        form.reset();
        state.ResumeTiming();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["shown_ms"] = shownNs / n / 1e6;
    state.counters["dialog_open_ms"] = dialogNs / n / 1e6;
}
BENCHMARK(BM_StartUpToDialogOpen)->Unit(benchmark::kMillisecond)->Iterations(30);

// Baseline: a bare main window with four labels, constructed and shown.
void BM_BaselineBareWindowShown(benchmark::State& state)
{
    for (auto _ : state) {
        QMainWindow w;
        for (int i = 0; i < 4; ++i)
            new QLabel(QStringLiteral("Startwert-Bildbreite:"), &w);
        w.show();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_BaselineBareWindowShown)->Unit(benchmark::kMillisecond)->Iterations(30);

void typeKey(QWidget* target, Qt::Key key, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

void BM_KeystrokeToOtherField(benchmark::State& state)
{
    TForm1 form;
    TPixelForm pixel(&form);
    QTimer::singleShot(0, &pixel, [&pixel] {
        pixel.SpinEdit1->setValue(1920);
        pixel.SpinEdit2->setValue(1080);
        pixel.done(TPixelForm::mrOk);
    });
    form.MenuDateiNeuClick();
    QLineEdit* editor = form.SpinEdit1->editor();
    bool eight = false;
    for (auto _ : state) {
        eight = !eight;
        editor->selectAll();
        typeKey(editor, eight ? Qt::Key_8 : Qt::Key_9, eight ? QStringLiteral("8") : QStringLiteral("9"));
        benchmark::DoNotOptimize(form.SpinEdit2->text());
    }
    if (form.SpinEdit2->text() != QStringLiteral("4") && form.SpinEdit2->text() != QStringLiteral("5"))
        state.SkipWithError("the other field did not follow the keystroke");
}
BENCHMARK(BM_KeystrokeToOtherField)->Unit(benchmark::kMicrosecond);

// Baseline: the same keystroke into a plain edit field without any handler.
void BM_BaselineKeystrokePlainEdit(benchmark::State& state)
{
    QLineEdit editor;
    bool eight = false;
    for (auto _ : state) {
        eight = !eight;
        editor.selectAll();
        typeKey(&editor, eight ? Qt::Key_8 : Qt::Key_9, eight ? QStringLiteral("8") : QStringLiteral("9"));
        benchmark::DoNotOptimize(editor.text());
    }
}
BENCHMARK(BM_BaselineKeystrokePlainEdit)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
