#include "config/ui/FontSetupDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cmath>

#include "config/SettingsWriter.h"
#include "config/ui/NumericEdit.h"
#include "format/MeasurementUnits.h"
#include "format/ParameterDialogRules.h"

namespace kelvara::config::ui {
namespace {

constexpr int kKerningMin = 8;
constexpr int kKerningMax = 72;
// Magnitudes the engine accepts for character spacing and raised or lowered text.
constexpr double kDirectedMax = 1584;

QListWidget* list(const char* name, const QStringList& items) {
  auto* l = new QListWidget;
  l->setObjectName(name);
  l->addItems(items);
  return l;
}

void selectText(QListWidget* l, const QString& text) {
  const auto found = l->findItems(text, Qt::MatchExactly);
  if (!found.isEmpty()) {
    l->setCurrentItem(found.front());
    l->scrollToItem(found.front());
  } else {
    l->setCurrentRow(-1);
  }
}

QWidget* captioned(const QString& caption, QWidget* field) {
  auto* box = new QWidget;
  auto* v = new QVBoxLayout(box);
  v->setContentsMargins(0, 0, 0, 0);
  auto* label = new QLabel(caption);
  label->setBuddy(field);
  v->addWidget(label);
  v->addWidget(field);
  return box;
}

}  // namespace

NumericEdit* FontSetupDialog::directed(const char* name, double step, double rounding) {
  auto* e = new NumericEdit(format::NumericEditorKind::DirectedPoints, locale_);
  e->setObjectName(name);
  e->setStep(step);
  e->setRounding(rounding);
  e->setRange(0, kDirectedMax);
  return e;
}

FontSetupDialog::FontSetupDialog(format::FormatParameterSet& params, IniFile& ini,
                                 const std::vector<std::string>& fontNames, platform::Locale locale,
                                 HelpFn help, QWidget* parent)
    : QDialog(parent), params_(params), ini_(ini), locale_(std::move(locale)) {
  setWindowTitle("Font Setup");
  setObjectName("FontSetupDlg");
  const auto& f = params_.Font;
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName("FontTabs");
  tabs_->setUsesScrollButtons(false);

  auto* fontTab = new QWidget;
  auto* grid = new QGridLayout(fontTab);
  QStringList names;
  for (const std::string& n : fontNames) {
    names << QString::fromStdString(n);
  }
  name_ = list("FontNameLB", names);
  selectText(name_, QString::fromStdString(f.FontName));
  style_ = list("FontStyleLB", {"Normal", "Italic", "Bold", "Bold Italic"});
  style_->setCurrentRow(std::clamp(f.FontStyle, 0, 3));
  size_ = list("FontSizeLB", {"8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "24", "26",
                              "28", "36", "48", "72"});
  selectText(size_, QString::number(f.FontSize));
  style_->setMaximumWidth(style_->sizeHintForColumn(0) + 40);
  size_->setMaximumWidth(size_->sizeHintForColumn(0) + 50);
  grid->addWidget(captioned("&Font", name_), 0, 0);
  grid->addWidget(captioned("F&ont Style", style_), 0, 1);
  grid->addWidget(captioned("S&ize", size_), 0, 2);
  shrink_ = new QSpinBox;
  shrink_->setObjectName("FontShrinkSpE");
  grow_ = new QSpinBox;
  grow_->setObjectName("FontGrowSpE");
  for (QSpinBox* s : {shrink_, grow_}) {
    s->setRange(0, 10);
  }
  shrink_->setValue(f.FontShrink);
  grow_->setValue(f.FontGrow);
  auto* steps = new QHBoxLayout;
  steps->addWidget(new QLabel("Font Shrink"));
  steps->addWidget(shrink_);
  steps->addSpacing(20);
  steps->addWidget(new QLabel("Font Grow"));
  steps->addWidget(grow_);
  steps->addStretch();
  grid->addLayout(steps, 1, 0, 1, 3);
  // Shrinking and growing exclude each other.
  connect(shrink_, &QSpinBox::valueChanged, this, [this](int v) {
    if (v != 0) {
      grow_->setValue(0);
    }
  });
  connect(grow_, &QSpinBox::valueChanged, this, [this](int v) {
    if (v != 0) {
      shrink_->setValue(0);
    }
  });
  tabs_->addTab(fontTab, "Fo&nt");

  auto* spacingTab = new QWidget;
  auto* sg = new QGridLayout(spacingTab);
  scale_ = new QComboBox;
  scale_->setObjectName("ScaleCB");
  scale_->addItems({"200%", "150%", "100%", "90%", "80%", "66%", "50%", "33%"});
  scale_->setCurrentIndex(scale_->findText(QString::number(f.FontScaling) + "%"));
  spacingType_ = new QComboBox;
  spacingType_->setObjectName("SpacingCB");
  spacingType_->addItems({"Normal", "Expanded", "Reduced"});
  spacing_ = directed("SpacingSpE", 0.1, 0.01);
  positionType_ = new QComboBox;
  positionType_->setObjectName("PositionCB");
  positionType_->addItems({"Normal", "Up", "Down"});
  position_ = directed("PositionSpE", 1, 0.1);
  kerning_ = new QCheckBox("&Kerning for Fonts");
  kerning_->setObjectName("KerningCkB");
  kerning_->setChecked(f.FontKerning);
  kerningSize_ = new NumericEdit(format::NumericEditorKind::DirectedPoints, locale_);
  kerningSize_->setObjectName("KerningSizeSpE");
  kerningSize_->setSuffix(" ");
  kerningSize_->setRange(kKerningMin, kKerningMax);
  // A stored size the editor can hold is shown; otherwise the field starts empty.
  if (f.FontKerningValue >= kKerningMin && f.FontKerningValue <= kKerningMax) {
    kerningSize_->setValue(f.FontKerningValue);
  } else {
    kerningSize_->clearValue();
  }

  auto addRow = [sg](int row, const QString& caption, QWidget* a, QWidget* b) {
    auto* label = new QLabel(caption);
    label->setBuddy(a);
    sg->addWidget(label, row, 0);
    sg->addWidget(a, row, 1);
    if (b != nullptr) {
      sg->addWidget(b, row, 2);
    }
  };
  addRow(0, "S&cale", scale_, nullptr);
  addRow(1, "&Spacing:", spacingType_, spacing_);
  addRow(2, "&Position:", positionType_, position_);
  sg->addWidget(kerning_, 3, 0, 1, 2);
  sg->addWidget(kerningSize_, 3, 2);
  auto* pointsLabel = new QLabel("P&oints and above");
  pointsLabel->setBuddy(kerningSize_);
  sg->addWidget(pointsLabel, 3, 3);
  sg->setRowStretch(4, 1);
  sg->setColumnStretch(4, 1);
  tabs_->addTab(spacingTab, "Cha&racter Spacing");

  const auto showDirected = [](QComboBox* type, NumericEdit* e, int32_t t, double magnitude) {
    type->setCurrentIndex(std::clamp(t, 0, 2));
    e->setDirection(type->currentIndex());
    if (type->currentIndex() == 0) {
      e->clearValue();
    } else {
      e->setValue(std::abs(magnitude));
    }
  };
  showDirected(spacingType_, spacing_, f.FontSpacingType, f.FontSpacing);
  showDirected(positionType_, position_, f.FontPositionType, f.FontPosition);
  connect(spacingType_, &QComboBox::activated, this,
          [this] { directionChosen(spacingType_, spacing_); });
  connect(positionType_, &QComboBox::activated, this,
          [this] { directionChosen(positionType_, position_); });
  connect(spacing_, &NumericEdit::edited, this, [this] { editorChanged(spacingType_, spacing_); });
  connect(position_, &NumericEdit::edited, this,
          [this] { editorChanged(positionType_, position_); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(okCancelHelpButtons(this, help, "FontSetup.html", [this] { ok(); }));
  connect(this, &QDialog::rejected, this,
          [this] { dialogMemory().fontTab = tabs_->currentIndex(); });
  tabs_->setCurrentIndex(std::clamp(dialogMemory().fontTab, 0, tabs_->count() - 1));
}

void FontSetupDialog::directionChosen(QComboBox* type, NumericEdit* editor) {
  const int mode = type->currentIndex();
  editor->setDirection(mode);
  if (mode == 0) {
    editor->clearValue();
  } else if (editor->isEmpty() || editor->value() == 0) {
    editor->setValue(editor->model().step());
  }
}

void FontSetupDialog::editorChanged(QComboBox* type, NumericEdit* editor) {
  const QSignalBlocker block(type);
  type->setCurrentIndex(editor->direction());
}

void FontSetupDialog::ok() {
  if (auto problem = unreadableField(
          {{"Spacing", spacing_}, {"Position", position_}, {"Kerning for Fonts", kerningSize_}})) {
    prompts_.error(this, "Error", *problem);
    return;
  }
  format::FormatParameterSet result = params_;
  auto& f = result.Font;
  // With no name selected (the stored one is not among the fonts offered) the stored name stays.
  if (name_->currentItem() != nullptr) {
    f.FontName = name_->currentItem()->text().toStdString();
  }
  f.FontStyle = std::max(0, style_->currentRow());
  if (size_->currentItem() != nullptr) {
    f.FontSize = size_->currentItem()->text().toInt();
  }
  f.FontShrink = shrink_->value();
  f.FontGrow = grow_->value();
  if (scale_->currentIndex() >= 0) {
    f.FontScaling = scale_->currentText().chopped(1).toInt();
  }
  f.FontSpacingType = spacingType_->currentIndex();
  f.FontPositionType = positionType_->currentIndex();
  const auto magnitude = [](const NumericEdit* e) { return e->isEmpty() ? 0.0 : e->value(); };
  f.FontPosition = format::fontPositionFrom(f.FontPositionType, magnitude(position_));
  f.FontSpacing = format::fontSpacingFrom(f.FontSpacingType, magnitude(spacing_));
  f.FontKerning = kerning_->isChecked();
  f.FontKerningValue = static_cast<int32_t>(format::roundToStep(kerningSize_->value(), 1));
  if (!saveOrReport(this, prompts_, "font settings",
                    [&] { SaveFontValues(ini_, result, locale_); })) {
    return;
  }
  params_ = result;
  dialogMemory().fontTab = tabs_->currentIndex();
  accept();
}

bool runFontSetupDialog(QWidget* parent, format::FormatParameterSet& params, IniFile& ini,
                        const std::vector<std::string>& fontNames, const HelpFn& help) {
  FontSetupDialog dlg(params, ini, fontNames, platform::Locale::fromEnvironment(), help, parent);
  return dlg.exec() == QDialog::Accepted;
}

}  // namespace kelvara::config::ui
