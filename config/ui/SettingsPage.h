#pragma once

#include <QWidget>

#include "config/Settings.h"

namespace kelvara::config::ui {

// One page of the configuration dialog: it shows a part of Settings and takes it back on OK.
// Pages never write Kelva.ini themselves; the dialog writes every key once all pages are taken.
class SettingsPage : public QWidget {
 public:
  using QWidget::QWidget;

  // Fills the controls from the settings and applies the page's interlocks to that state.
  virtual void load(const Settings& settings) = 0;
  // Takes the controls into the settings (only the fields this page owns).
  virtual void store(Settings& settings) const = 0;
};

}  // namespace kelvara::config::ui
