#include "config/ui/PageSetupDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "config/SettingsWriter.h"
#include "config/ui/NumericEdit.h"
#include "format/ConvertLengths.h"
#include "format/MeasurementUnits.h"
#include "format/PaperSizeNames.h"

namespace kelvara::config::ui {
namespace {

constexpr int kGeneralView = 1;
constexpr int kLandscapeView = 3;

void copyGeometry(const format::PageSetupSet& from, format::PageSetupSet& to) {
  const int32_t setIndex = to.SetIndex;
  const auto flags = to.flags;
  to = from;
  to.SetIndex = setIndex;
  to.flags = flags;
}

QComboBox* combo(const char* name, std::initializer_list<const char*> items) {
  auto* c = new QComboBox;
  c->setObjectName(name);
  for (const char* i : items) {
    c->addItem(i);
  }
  return c;
}

QCheckBox* checkBox(const char* text, const char* name) {
  auto* c = new QCheckBox(text);
  c->setObjectName(name);
  return c;
}

}  // namespace

NumericEdit* PageSetupDialog::lengthEdit(const char* name) {
  auto* e = new NumericEdit(format::NumericEditorKind::Length, locale_);
  e->setObjectName(name);
  e->setUnit(unit_);
  return e;
}

PageSetupDialog::PageSetupDialog(format::FormatParameterSet& params, const Settings& settings,
                                 IniFile& ini, platform::Locale locale, HelpFn help,
                                 QWidget* parent)
    : QDialog(parent),
      params_(params),
      edit_(params),
      ini_(ini),
      locale_(std::move(locale)),
      unit_(settings.MeasurementUnits),
      diff_(settings.DiffVertHorizPagParms) {
  setWindowTitle("Page Setup");
  setObjectName("PageSetupDlg");
  if (unit_ != format::kPoints) {
    if (auto problem = format::ConvertLengths(edit_, unit_, unit_)) {
      prompts_.error(this, "Error", QString::fromStdString(*problem));
      unit_ = format::kPoints;  // shown as stored, in points
    }
  }

  toolBar_ = viewToolBar(this, viewButtons_, viewLabel_, [this](int view) { showView(view); });

  tabs_ = new QTabWidget(this);
  tabs_->setObjectName("PageTabs");
  tabs_->setUsesScrollButtons(false);

  marginsTab_ = new QWidget;
  marginsForm_ = new QFormLayout(marginsTab_);
  top_ = lengthEdit("TopMarginSpE");
  bottom_ = lengthEdit("BottomMarginSpE");
  left_ = lengthEdit("LeftMarginSpE");
  right_ = lengthEdit("RightMarginSpE");
  gutter_ = lengthEdit("GutterSpE");
  gutterPos_ = combo("GutterPosCB", {"Left", "Top"});
  mirror_ = checkBox("M&irror Margins", "MirrorMarginsCkB");
  twoPages_ = checkBox("&2 pages per sheet", "TwoPagesOnOneCkB");
  orientation_ = combo("OrientationCB", {"Vertical", "Horizontal"});
  marginsForm_->addRow("&top:", top_);
  marginsForm_->addRow("&Bottom:", bottom_);
  marginsForm_->addRow("Le&ft:", left_);
  marginsForm_->addRow("Ri&ght:", right_);
  marginsForm_->addRow("G&utter:", gutter_);
  marginsForm_->addRow("Gu&tter Position:", gutterPos_);
  marginsForm_->addRow(mirror_);
  marginsForm_->addRow(twoPages_);
  marginsForm_->addRow("Orientation:", orientation_);
  tabs_->addTab(marginsTab_, "Margins");

  paperTab_ = new QWidget;
  paperForm_ = new QFormLayout(paperTab_);
  paper_ = new QComboBox;
  paper_->setObjectName("PaperSizeCB");
  for (std::string_view name : format::kPaperSizeNames) {
    paper_->addItem("  " + QString::fromLatin1(name.data(), static_cast<int>(name.size())));
  }
  width_ = lengthEdit("PageWidthSpE");
  height_ = lengthEdit("PageHeightSpE");
  paperForm_->addRow("Pape&r Size", paper_);
  paperForm_->addRow("&Width", width_);
  paperForm_->addRow("He&ight", height_);
  tabs_->addTab(paperTab_, "Paper Size");
  connect(paper_, &QComboBox::currentIndexChanged, this, &PageSetupDialog::paperChanged);

  layoutTab_ = new QWidget;
  layoutForm_ = new QFormLayout(layoutTab_);
  oddEven_ = checkBox("Different on Odd and Even pages ", "OddAndEvenCkB");
  firstPage_ = checkBox("Different on first page", "FirstPageCkB");
  header_ = lengthEdit("HeaderDistanceSpE");
  footer_ = lengthEdit("FooterDistanceSpE");
  vAlign_ = combo("VerticalAlignmentCB", {"Top", "Centered", "Justified", "Bottom"});
  layoutForm_->addRow(oddEven_);
  layoutForm_->addRow(firstPage_);
  layoutForm_->addRow("&Header from edge:", header_);
  layoutForm_->addRow("F&ooter from edge:", footer_);
  layoutForm_->addRow("Vertical Alignement:", vAlign_);
  tabs_->addTab(layoutTab_, "Layout");

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(toolBar_);
  layout->addWidget(tabs_);
  layout->addWidget(okCancelHelpButtons(this, help, "PageSetup.html", [this] { ok(); }));
  connect(this, &QDialog::rejected, this, &PageSetupDialog::remember);

  const auto& g = edit_.General;
  oddEven_->setChecked(g.OddAndEvenPagesHeaderFooter);
  firstPage_->setChecked(g.FirstPageHeaderFooter);
  gutter_->setValue(g.Gutter);
  gutterPos_->setCurrentIndex(g.GutterOnTop ? 1 : 0);
  mirror_->setChecked(g.MirrorMargins);
  twoPages_->setChecked(g.TwoPagesOnOne);

  toolBar_->setVisible(diff_);
  view_ = diff_ ? std::clamp(dialogMemory().pageView, 1, 3) : kGeneralView;
  applyView();
  tabs_->setCurrentIndex(std::clamp(dialogMemory().pageTab, 0, tabs_->count() - 1));
}

bool PageSetupDialog::orientationEditable() const {
  return !diff_ || view_ == kGeneralView;
}

void PageSetupDialog::loadGeometry(const format::PageSetupSet& s) {
  paper_->setCurrentIndex(std::clamp(s.PaperSize, 0, static_cast<int32_t>(paper_->count() - 1)));
  width_->setValue(s.PageWidth);
  height_->setValue(s.PageHeight);
  top_->setValue(s.TopMargin);
  bottom_->setValue(s.BottomMargin);
  left_->setValue(s.LeftMargin);
  right_->setValue(s.RightMargin);
  footer_->setValue(s.FooterDistance);
  header_->setValue(s.HeaderDistance);
  vAlign_->setCurrentIndex(std::clamp(s.VerticalAlignment, 0, 3));
  paperChanged();
}

void PageSetupDialog::storeGeometry(format::PageSetupSet& s) const {
  s.PaperSize = paper_->currentIndex();
  s.PageWidth = width_->value();
  s.PageHeight = height_->value();
  s.TopMargin = top_->value();
  s.BottomMargin = bottom_->value();
  s.LeftMargin = left_->value();
  s.RightMargin = right_->value();
  s.FooterDistance = footer_->value();
  s.HeaderDistance = header_->value();
  s.VerticalAlignment = vAlign_->currentIndex();
}

void PageSetupDialog::applyView() {
  const bool geometry = !diff_ || view_ != kGeneralView;
  const bool document = !diff_ || view_ == kGeneralView;
  if (geometry) {
    loadGeometry(view_ == kLandscapeView ? edit_.Landscape : edit_.Portrait);
  }
  for (QWidget* w : {static_cast<QWidget*>(top_), static_cast<QWidget*>(bottom_),
                     static_cast<QWidget*>(left_), static_cast<QWidget*>(right_)}) {
    marginsForm_->setRowVisible(w, geometry);
  }
  for (QWidget* w : {static_cast<QWidget*>(gutter_), static_cast<QWidget*>(gutterPos_),
                     static_cast<QWidget*>(mirror_), static_cast<QWidget*>(twoPages_)}) {
    marginsForm_->setRowVisible(w, document);
  }
  // The document-wide header and footer switches stay reachable in the General view.
  layoutForm_->setRowVisible(oddEven_, document);
  layoutForm_->setRowVisible(firstPage_, document);
  layoutForm_->setRowVisible(header_, geometry);
  layoutForm_->setRowVisible(footer_, geometry);
  layoutForm_->setRowVisible(vAlign_, geometry);
  tabs_->setTabVisible(tabs_->indexOf(paperTab_), geometry);

  orientation_->setEnabled(orientationEditable());
  orientation_->setCurrentIndex(orientationEditable() ? std::clamp(edit_.General.Orientation, 0, 1)
                                : view_ == kLandscapeView ? 1
                                                          : 0);
  const char* viewNames[3] = {"General", "Portrait", "Landscape"};
  viewLabel_->setText(QString("View: ") + viewNames[view_ - 1]);
  for (int i = 0; i < 3; ++i) {
    QFont f = viewButtons_[i]->font();
    f.setBold(i == view_ - 1);
    viewButtons_[i]->setFont(f);
  }
}

void PageSetupDialog::showView(int setIndex) {
  if (!diff_ || setIndex < 1 || setIndex > 3 || setIndex == view_) {
    return;
  }
  if (view_ != kGeneralView) {
    storeGeometry(view_ == kLandscapeView ? edit_.Landscape : edit_.Portrait);
  } else {
    edit_.General.Orientation = orientation_->currentIndex();
  }
  view_ = setIndex;
  applyView();
}

void PageSetupDialog::paperChanged() {
  const bool custom = paper_->currentText().contains("Custom");
  paperForm_->setRowVisible(width_, custom);
  paperForm_->setRowVisible(height_, custom);
}

void PageSetupDialog::remember() {
  dialogMemory().pageTab = tabs_->currentIndex();
  if (diff_) {
    dialogMemory().pageView = view_;
  }
}

void PageSetupDialog::ok() {
  const bool geometry = !diff_ || view_ != kGeneralView;
  std::vector<std::pair<QString, const NumericEdit*>> fields = {{"Gutter", gutter_}};
  if (geometry) {
    fields.insert(fields.end(), {{"Top", top_},
                                 {"Bottom", bottom_},
                                 {"Left", left_},
                                 {"Right", right_},
                                 {"Header from edge", header_},
                                 {"Footer from edge", footer_}});
    if (paper_->currentText().contains("Custom")) {
      fields.insert(fields.end(), {{"Width", width_}, {"Height", height_}});
    }
  }
  if (auto problem = unreadableField(fields)) {
    prompts_.error(this, "Error", *problem);
    return;
  }

  format::FormatParameterSet back = edit_;
  if (geometry) {
    storeGeometry(view_ == kLandscapeView ? back.Landscape : back.Portrait);
    if (!diff_) {
      copyGeometry(back.Portrait, back.Landscape);  // one view sets every section alike
    }
  }
  auto& g = back.General;
  g.OddAndEvenPagesHeaderFooter = oddEven_->isChecked();
  g.FirstPageHeaderFooter = firstPage_->isChecked();
  g.Gutter = gutter_->value();
  g.GutterOnTop = gutterPos_->currentIndex() == 1;
  g.MirrorMargins = mirror_->isChecked();
  g.TwoPagesOnOne = twoPages_->isChecked();
  const bool withOrientation = orientationEditable();
  if (withOrientation) {
    g.Orientation = orientation_->currentIndex();
  }
  if (unit_ != format::kPoints) {
    format::ConvertLengths(back, format::kPoints, unit_);
  }
  format::FormatParameterSet result = params_;
  result.Portrait = back.Portrait;
  result.Landscape = back.Landscape;
  result.General = back.General;
  if (!saveOrReport(this, prompts_, "page settings",
                    [&] { SavePageValues(ini_, result, locale_, withOrientation); })) {
    return;
  }
  params_ = result;
  remember();
  accept();
}

bool runPageSetupDialog(QWidget* parent, format::FormatParameterSet& params,
                        const Settings& settings, IniFile& ini, const HelpFn& help) {
  PageSetupDialog dlg(params, settings, ini, platform::Locale::fromEnvironment(), help, parent);
  return dlg.exec() == QDialog::Accepted;
}

}  // namespace kelvara::config::ui
