// Renders the dialogs to PNG files for looking at them; runs only when KELVARA_SCREENSHOT_DIR
// names a folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <cstdlib>

#include "app/about/AboutDialog.h"
#include "config/ui/ShowStateDialog.h"
#include "format/MeasurementUnits.h"

namespace kelvara {
namespace {

QString screenshotDir() {
  const char* dir = std::getenv("KELVARA_SCREENSHOT_DIR");
  return dir != nullptr ? QString::fromLocal8Bit(dir) : QString();
}

QIcon sampleIcon() {
  QPixmap pixmap(96, 96);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(QColor(0x2a, 0x6f, 0xb0));
  painter.setPen(Qt::NoPen);
  painter.drawRoundedRect(8, 8, 80, 80, 14, 14);
  painter.setPen(Qt::white);
  QFont font = painter.font();
  font.setPixelSize(56);
  font.setBold(true);
  painter.setFont(font);
  painter.drawText(pixmap.rect(), Qt::AlignCenter, "K");
  return QIcon(pixmap);
}

void save(QWidget& widget, const QString& name) {
  widget.show();
  QApplication::processEvents();
  ASSERT_TRUE(widget.grab().save(screenshotDir() + "/" + name));
}

TEST(ScreenshotTest, Dialogs) {
  if (screenshotDir().isEmpty()) {
    GTEST_SKIP() << "KELVARA_SCREENSHOT_DIR not set";
  }
  const QIcon previous = QApplication::windowIcon();
  QApplication::setWindowIcon(sampleIcon());
  app::AboutFacts facts;
  facts.version = "Version 1.0.2 (Build 11)";
  facts.engineVersion = "LibreOffice Version: 7.4.7.2";
  facts.osName = "Debian GNU/Linux 12 (bookworm)";
  facts.osVersion = "Linux 6.1.0-18-amd64";
  facts.processor = "Processor: Intel(R) Xeon(R) CPU E5-2690 v4 @ 2.60GHz";
  facts.freeDiskSpace = "Free Disk Space: 123456789012 bytes on /srv/archive/out";
  QWidget window;
  window.resize(520, 440);
  window.show();
  about::TAboutDlg::Options options;
  options.showClose = true;
  options.openUserGuide = [] {};
  about::TAboutDlg about(&window, facts, options);
  save(about, "about.png");
  about.showShortSysInfo();
  save(about, "about-system.png");
  QApplication::setWindowIcon(previous);

  format::FormatParameterSet params;
  config::Settings settings;
  settings.MeasurementUnits = format::kCentimetres;
  params.Paragraph.flags.PageBreakBefore = true;
  params.Font.flags.FontName = true;
  params.Landscape.flags.TopMargin = false;
  const config::ParameterStatus status =
      config::describeParameters(params, settings, "11.0", platform::Locale{});
  config::ui::TShowStateDlg state(status);
  save(state, "status.png");
  state.toggleValues();
  save(state, "status-values.png");
  state.toggleColumns();
  save(state, "status-short.png");
  settings.DiffVertHorizPagParms = false;
  config::ui::TShowStateDlg single(
      config::describeParameters(params, settings, "12.0", platform::Locale{}));
  save(single, "status-single.png");
}

}  // namespace
}  // namespace kelvara
