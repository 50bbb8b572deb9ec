// Time of Process in the main window, from the click on the button to the
// output box painted with the new test: the test generation, filling the
// box, its layout and its first paint.
//
//   build/bin/bench_process_box [--runs N] [--chars N] [--text paragraphs|line]
//   xvfb-run -a -s '-screen 0 1280x1024x24' env QT_QPA_PLATFORM=xcb build/bin/bench_process_box
//
// Without QT_QPA_PLATFORM the program draws offscreen. Two sources of the
// same size are timed: prose in paragraphs, and the same prose as one single
// line. Each is processed N times in a row (the first run replaces the empty
// output box, the others a test of the same size); the figures are the
// first run, the median and the slowest wall-clock times and the median
// handler time (click to the handler's return), in milliseconds, and the
// median processor time of the whole process over the same span, which a
// busy machine disturbs far less than the wall-clock time. After the runs,
// the median time from a Right arrow key in the output box to the box
// painted again.

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "ui/app/AppState.h"
#include "ui/app/Startup.h"
#include "ui/app/MainWindow.h"
#include "ui/platform/QtText.h"

namespace {

using brenvik::Text;

// Prose with the usual mix of punctuation, numbers, accented and non-Western
// letters; paragraphs end in CR LF CR LF, or in a space for the one-line text.
Text Prose(std::size_t characters, bool oneLine) {
  const Text body =
      U"The old town lies on a bend of the river, and its narrow streets climb the hill towards the "
      U"castle. In 1843 a fire destroyed most of the wooden houses; the café on the square, however, "
      U"survived. Visitors still say: \"It's the best coffee in the region!\" Na rynku stoi żółty dom, "
      U"a w nim mała księgarnia. Старый мост ведёт к собору. On market days the square is full of "
      U"stalls selling cheese, bread, honey and well-known local wines.";
  const Text paragraph = body + (oneLine ? Text(U" ") : Text(U"\r\n\r\n"));
  Text text = U"A first sentence stays whole. ";
  text.reserve(characters + paragraph.size());
  while (text.size() < characters) text += paragraph;
  text.resize(characters);
  return text;
}

// Notes each paint of a widget.
class PaintWatch : public QObject {
 public:
  bool painted = false;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted = true;
    return QObject::eventFilter(watched, event);
  }
};

// Processes events until the watched widget has been painted; false when no
// paint came within ten seconds.
bool WaitForPaint(PaintWatch& watch) {
  QElapsedTimer timer;
  timer.start();
  while (!watch.painted) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    if (timer.elapsed() > 10000) return false;
  }
  // What the paint drew reaches the screen once the pending events are done.
  QCoreApplication::processEvents();
  return true;
}

// Processor time used by the process so far (all threads, user and system).
double ProcessorMs() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 7;
  std::size_t chars = 1u << 20;
  bool paragraphs = true;
  bool line = true;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(1, std::atoi(argv[i + 1]));
    if (std::strcmp(argv[i], "--chars") == 0) chars = static_cast<std::size_t>(std::atoll(argv[i + 1]));
    if (std::strcmp(argv[i], "--text") == 0) {
      paragraphs = std::strcmp(argv[i + 1], "line") != 0;
      line = std::strcmp(argv[i + 1], "paragraphs") != 0;
    }
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");

  brenvik::AppState state;
  QApplication app(argc, argv);
  brenvik::InitApplication(app);
  brenvik::AppWindows windows = brenvik::CreateWindows(state);
  brenvik::MainWindow& form = *windows.mainWindow;
  form.show();
  QElapsedTimer exposeTimer;
  exposeTimer.start();
  while (!(form.windowHandle() && form.windowHandle()->isExposed()) && exposeTimer.elapsed() < 10000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  auto* source = form.findChild<QPlainTextEdit*>(QStringLiteral("Source"));
  auto* output = form.findChild<QPlainTextEdit*>(QStringLiteral("Output"));
  auto* button = form.findChild<QAbstractButton*>(QStringLiteral("Button1"));
  if (!source || !output || !button) {
    std::fprintf(stderr, "the main window lacks its boxes or its Process button\n");
    return 1;
  }
  PaintWatch watch;
  output->viewport()->installEventFilter(&watch);

  std::printf("platform %s, %zu characters, %d runs (ms)\n",
              qPrintable(QGuiApplication::platformName()), chars, runs);
  for (const bool oneLine : {false, true}) {
    if (!(oneLine ? line : paragraphs)) continue;
    const QString text = brenvik::ToBoxText(Prose(chars, oneLine));
    source->setPlainText(text);
    output->setPlainText(QStringLiteral("\n"));
    QCoreApplication::processEvents();
    std::vector<double> total;
    std::vector<double> handler;
    std::vector<double> processor;
    for (int r = 0; r < runs; ++r) {
      QCoreApplication::processEvents();
      watch.painted = false;
      const double processorStart = ProcessorMs();
      QElapsedTimer timer;
      timer.start();
      button->click();
      handler.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
      if (!WaitForPaint(watch)) {
        std::fprintf(stderr, "the output box was not painted\n");
        return 1;
      }
      total.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
      processor.push_back(ProcessorMs() - processorStart);
    }
    // The teacher then moves the caret: Right arrow, until the box is painted.
    std::vector<double> arrow;
    for (int r = 0; r < 5; ++r) {
      watch.painted = false;
      QElapsedTimer timer;
      timer.start();
      QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
      QKeyEvent release(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier);
      QCoreApplication::sendEvent(output, &press);
      QCoreApplication::sendEvent(output, &release);
      if (!WaitForPaint(watch)) {
        std::fprintf(stderr, "the output box was not painted after an arrow key\n");
        return 1;
      }
      arrow.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("%-10s first %7.1f  median %7.1f  slowest %7.1f  handler %7.1f  processor %7.1f\n",
                oneLine ? "one line" : "paragraphs", total.front(), Median(total),
                *std::max_element(total.begin(), total.end()), Median(handler), Median(processor));
    std::printf("%-10s then an arrow key to the box painted: median %.1f\n", "", Median(arrow));
  }
  return 0;
}
