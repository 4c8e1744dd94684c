// Times the graph view's paint of a 65000-frame analog channel with 10
// samples per frame and of a 3D point of 65000 frames, on Qt's offscreen
// platform: the whole channel fitted into the pane (every sample on screen)
// and not fitted, the plot as wide as the view allows (scrolled to the
// middle).
#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

#include "app/HeadlessApp.h"
#include "bench/TrialBuilder.h"
#include "document/EditorDoc.h"
#include "views/ScrView.h"

int RunPaintBench(int repeats);

namespace {

constexpr int kFrames = 65000;
constexpr int kSubFrames = 10;

// One analog channel of a slow sine with noise on it, one point circling.
void BuildPaintTrial(CC3d& c3d) {
  CTrialBuilder b(c3d);
  b.SetLayout(1, 1, kSubFrames, kFrames, 100.0f, StorageKind::Integer, 0.1f);
  b.AddGroup("POINT", 1, "3-D point parameters");
  b.AddGroup("ANALOG", 2, "Analog data parameters");
  b.AddGroup("TRIAL", 3, "Trial information");
  b.AddLayoutParameters();
  b.AddChars(1, "LABELS", "Marker labels", {"M001"});
  b.AddChars(2, "LABELS", "Channel labels", {"EMG1"});
  unsigned noise = 12345;
  for (int i = 0; i < kFrames * kSubFrames; ++i) {
    noise = noise * 1103515245u + 12345u;
    b.SetAnalog(0, i, static_cast<float>(std::lround(8000 * std::sin(i * 0.0004) + ((noise >> 16) % 2000) - 1000.0)));
  }
  for (int f = 0; f < kFrames; ++f)
    b.SetPoint(0, f, static_cast<float>(4000 * std::sin(f * 0.003)), static_cast<float>(3000 * std::cos(f * 0.002)),
               static_cast<float>(f % 5000), (f / 700) % 10 == 9 ? -1.0f : 5.0f);
}

struct CPaintFigure {
  const char* m_pszCase;
  double m_fMean = 0, m_fWorst = 0;  // milliseconds per paint
};

CPaintFigure TimePaint(const char* name, CScrView& view, int repeats) {
  QImage image(view.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
  view.viewport()->render(&image);  // drawing objects made, caches warm
  CPaintFigure figure{name};
  const int paints = 20 * repeats;
  for (int i = 0; i < paints; ++i) {
    const auto start = std::chrono::steady_clock::now();
    view.viewport()->render(&image);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    figure.m_fMean += ms / paints;
    figure.m_fWorst = std::max(figure.m_fWorst, ms);
  }
  return figure;
}

}  // namespace

int RunPaintBench(int repeats) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int argc = 1;
  char name[] = "quorvel-bench";
  char* argv[] = {name, nullptr};
  QApplication qt(argc, argv);

  std::printf("\nMeasuring the graph view's paint (1200 x 700 pixels, offscreen) ...\n");
  std::fflush(stdout);
  CHeadlessApp app;
  CEditorDoc doc(app);
  BuildPaintTrial(doc.m_c3d);
  doc.m_bShowSubFrames = true;
  CScrView view(doc);
  view.resize(1200, 700);
  view.show();

  std::vector<CPaintFigure> figures;
  auto run = [&](const char* caseName, int node, bool fit) {
    app.m_settings.m_nFitHorizontal = fit ? 1 : 0;
    app.m_settings.m_nAnalogXunit = 5;
    app.m_settings.m_n3DXunit = 5;
    doc.m_nSelNode = node;
    doc.m_nSelItem = 0;
    view.OnInitialUpdate();
    QScrollBar* bar = view.horizontalScrollBar();
    bar->setValue(bar->maximum() / 2);
    figures.push_back(TimePaint(caseName, view, repeats));
  };
  run("analog, 650000 samples fitted", -2, true);
  run("analog, not fitted, scrolled", -2, false);
  run("3D point, 65000 frames fitted", -3, true);
  run("3D point, not fitted, scrolled", -3, false);

  std::printf("%-36s%-12s%-12s%s\n", "", "mean", "worst", "goal: under 16 ms");
  for (const CPaintFigure& f : figures)
    std::printf("%-36s%6.2f ms   %6.2f ms   %s\n", f.m_pszCase, f.m_fMean, f.m_fWorst,
                f.m_fMean < 16 ? "ok" : "MISSED");
  return 0;
}
