#include "config/ui/FiltersPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>
#include <limits>

#include "config/ConfigureRules.h"
#include "config/ui/ChoiceGroup.h"
#include "config/ui/QtDateTime.h"

namespace kelvara::config::ui {

namespace {

const QStringList kAgeUnits = {"day(s)", "week(s)", "month(s)", "year(s)"};
const QStringList kSizeUnits = {"bytes", "Kbytes"};

int clampIndex(int index, int count) {
  return index >= 0 && index < count ? index : 0;
}

}  // namespace

FiltersPage::FiltersPage(const platform::Locale& locale, QWidget* parent) : SettingsPage(parent) {
  setObjectName("FiltersPage");
  auto* outer = new QVBoxLayout(this);
  outer->addWidget(makeAttributes());
  outer->addWidget(makeDates(locale));
  outer->addWidget(makeSizes());
  outer->addStretch();
}

QGroupBox* FiltersPage::makeAttributes() {
  auto* group = new QGroupBox("File attributes", this);
  group->setObjectName("FileAttributesGB");
  auto* layout = new QVBoxLayout(group);
  includeAttributes_ = new QCheckBox("Include only files with the following attributes", group);
  includeAttributes_->setObjectName("IncludeFilesAttributesCkB");
  layout->addWidget(includeAttributes_);
  const QStringList items = {"On", "Off", "Any"};
  readOnly_ = new ChoiceGroup("Read Only", items, "IncludeReadOnlyRG", true, group);
  hidden_ = new ChoiceGroup("Hidden", items, "IncludeHiddenRG", true, group);
  archive_ = new ChoiceGroup("Archive", items, "IncludeArchiveRG", true, group);
  system_ = new ChoiceGroup("System", items, "IncludeSystemRG", true, group);
  auto* row = new QHBoxLayout;
  for (ChoiceGroup* g : {readOnly_, hidden_, archive_, system_}) {
    row->addWidget(g);
  }
  layout->addLayout(row);
  connect(includeAttributes_, &QCheckBox::toggled, this, [this] { applyEnabling(); });
  return group;
}

QGroupBox* FiltersPage::makeDates(const platform::Locale& locale) {
  auto* group = new QGroupBox("File date and age", this);
  group->setObjectName("FileDateAndAgeGB");
  auto* grid = new QGridLayout(group);

  includeDate_ = new QCheckBox("Include only files dated:", group);
  includeDate_->setObjectName("IncludeFileDateCkB");
  fromLabel_ = new QLabel("From:", group);
  toLabel_ = new QLabel("To:", group);
  auto picker = [&](const char* name) {
    auto* p = new QDateEdit(group);
    p->setObjectName(name);
    p->setCalendarPopup(true);
    p->setDisplayFormat(qtDisplayFormat(locale.shortDateFormat));
    // Room beside the text for the popup arrow, which otherwise touches the last digit.
    p->setMinimumWidth(p->sizeHint().width() + 16);
    return p;
  };
  from_ = picker("FromDateDTP");
  to_ = picker("ToDateDTP");
  fromLabel_->setBuddy(from_);
  toLabel_->setBuddy(to_);
  auto* dates = new QHBoxLayout;
  dates->addWidget(fromLabel_);
  dates->addWidget(from_);
  dates->addSpacing(12);
  dates->addWidget(toLabel_);
  dates->addWidget(to_);
  dates->addStretch();
  grid->addWidget(includeDate_, 0, 0);
  grid->addLayout(dates, 0, 1, 1, 3);

  makeAge(newer_, "Include newer then:", "Newer", group);
  makeAge(older_, "Include older than:", "Older", group);
  int r = 1;
  for (AgeRow* row : {&newer_, &older_}) {
    grid->addWidget(row->box, r, 0);
    grid->addWidget(row->count, r, 1);
    grid->addWidget(row->unit, r, 2);
    grid->addWidget(row->old, r, 3);
    ++r;
  }
  grid->setColumnStretch(4, 1);

  connect(includeDate_, &QCheckBox::toggled, this, [this](bool on) {
    if (on) {
      newer_.box->setChecked(false);
      older_.box->setChecked(false);
    }
    applyEnabling();
  });
  for (AgeRow* row : {&newer_, &older_}) {
    connect(row->box, &QCheckBox::toggled, this, [this](bool on) {
      if (on) {
        includeDate_->setChecked(false);
      }
      applyEnabling();
    });
  }
  return group;
}

void FiltersPage::makeAge(AgeRow& row, const QString& caption, const QString& prefix,
                          QWidget* parent) {
  row.box = new QCheckBox(caption, parent);
  row.box->setObjectName(prefix == "Newer" ? "IncludeFilesNewerThenCkB" : "IncludeOlderThenCkB");
  row.count = new QSpinBox(parent);
  row.count->setObjectName(prefix + "CntSpE");
  row.count->setRange(0, std::numeric_limits<int32_t>::max());
  row.count->setMinimumWidth(70);
  row.unit = new QComboBox(parent);
  row.unit->setObjectName(prefix + "TypeCB");
  row.unit->addItems(kAgeUnits);
  row.old = new QLabel("old", parent);
}

QGroupBox* FiltersPage::makeSizes() {
  auto* group = new QGroupBox("File size", this);
  group->setObjectName("FileSizeGB");
  auto* grid = new QGridLayout(group);
  makeSize(min_, "Include files at least", "MinSize", group);
  makeSize(max_, "Include files no larger then", "MaxSize", group);
  int r = 0;
  for (SizeRow* row : {&min_, &max_}) {
    grid->addWidget(row->box, r, 0);
    grid->addWidget(row->number, r, 1);
    grid->addWidget(row->unit, r, 2);
    ++r;
  }
  grid->setColumnStretch(3, 1);
  return group;
}

void FiltersPage::makeSize(SizeRow& row, const QString& caption, const QString& prefix,
                           QWidget* parent) {
  row.box = new QCheckBox(caption, parent);
  row.box->setObjectName(prefix == "MinSize" ? "IncludeFilesAtLeastesAttrCkB"
                                             : "IncludeFilesNoLargerAttrCkB");
  row.number = new QLineEdit(parent);
  row.number->setObjectName(prefix + "SpE");
  // Digits only: a size is a whole count, and what is typed must be what is stored.
  row.number->setValidator(
      new QRegularExpressionValidator(QRegularExpression("[0-9]{0,19}"), row.number));
  row.number->setMinimumWidth(110);
  row.unit = new QComboBox(parent);
  row.unit->setObjectName(prefix == "MinSize" ? "ByteKbyte1CB" : "ByteKbyte2CB");
  row.unit->addItems(kSizeUnits);
  connect(row.box, &QCheckBox::toggled, this, [this] { applyEnabling(); });
  connect(row.unit, &QComboBox::currentIndexChanged, this, [&row](int unit) {
    if (unit < 0 || unit == row.shownUnit) {
      return;
    }
    const int64_t shown = ParseShownSize(row.number->text().toStdString());
    row.number->setText(QString::number(ConvertShownSize(shown, row.shownUnit, unit)));
    row.shownUnit = unit;
  });
}

void FiltersPage::applyEnabling() {
  const bool attributes = includeAttributes_->isChecked();
  for (ChoiceGroup* g : {readOnly_, hidden_, archive_, system_}) {
    g->setEnabled(attributes);
  }
  const bool dated = includeDate_->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{fromLabel_, from_, toLabel_, to_}) {
    w->setEnabled(dated);
  }
  for (AgeRow* row : {&newer_, &older_}) {
    row->count->setEnabled(row->box->isChecked());
    row->unit->setEnabled(row->box->isChecked());
  }
  for (SizeRow* row : {&min_, &max_}) {
    row->number->setEnabled(row->box->isChecked());
  }
}

void FiltersPage::loadSize(SizeRow& row, bool on, int64_t bytes, int32_t unit) {
  row.box->setChecked(on);
  row.shownUnit = clampIndex(unit, kSizeUnits.size());
  row.unit->setCurrentIndex(row.shownUnit);  // no conversion: the unit already is the shown one
  row.number->setText(QString::number(ShownSize(bytes, row.shownUnit)));
}

void FiltersPage::storeSize(const SizeRow& row, bool& on, int64_t& bytes, int32_t& unit) const {
  on = row.box->isChecked();
  unit = row.unit->currentIndex();
  bytes = StoredSize(ParseShownSize(row.number->text().toStdString()), unit);
}

void FiltersPage::load(const Settings& s) {
  includeAttributes_->setChecked(s.IncludeFilesAttributes);
  readOnly_->setIndex(s.IncludeReadOnly);
  hidden_->setIndex(s.IncludeHidden);
  archive_->setIndex(s.IncludeArchive);
  system_->setIndex(s.IncludeSystem);

  // Loaded with the exclusions between the date and the age filters held back: they answer the
  // operator's clicks, and must not drop a filter the file holds because of the loading order.
  const QSignalBlocker blockDate(includeDate_);
  const QSignalBlocker blockNewer(newer_.box);
  const QSignalBlocker blockOlder(older_.box);
  includeDate_->setChecked(s.IncludeFileDate);
  const QDate today = QDate::currentDate();
  from_->setDate(s.IncludeFileDate ? toQDate(s.FromDate) : today);
  to_->setDate(s.IncludeFileDate ? toQDate(s.ToDate) : today);
  newer_.box->setChecked(s.IncludeFilesNewerThen);
  newer_.count->setValue(s.IncludeFilesNewerThen ? s.NewerCnt : 0);
  newer_.unit->setCurrentIndex(s.IncludeFilesNewerThen ? clampIndex(s.NewerType, kAgeUnits.size())
                                                       : 0);
  older_.box->setChecked(s.IncludeOlderThen);
  older_.count->setValue(s.IncludeOlderThen ? s.OlderCnt : 0);
  older_.unit->setCurrentIndex(s.IncludeOlderThen ? clampIndex(s.OlderType, kAgeUnits.size()) : 0);

  loadSize(min_, s.IncludeFilesAtLeastesAttr, s.FileMinSize, s.ByteKbyte1);
  loadSize(max_, s.IncludeFilesNoLargerAttr, s.FileMaxSize, s.ByteKbyte2);
  applyEnabling();
}

void FiltersPage::store(Settings& s) const {
  s.IncludeFilesAttributes = includeAttributes_->isChecked();
  auto take = [](const ChoiceGroup* g, int32_t& field) {
    if (g->index() >= 0) {
      field = g->index();
    }
  };
  take(readOnly_, s.IncludeReadOnly);
  take(hidden_, s.IncludeHidden);
  take(archive_, s.IncludeArchive);
  take(system_, s.IncludeSystem);

  s.IncludeFileDate = includeDate_->isChecked();
  if (s.IncludeFileDate) {
    s.FromDate = fromQt(from_->date());
    s.ToDate = fromQt(to_->date());
  }
  s.IncludeFilesNewerThen = newer_.box->isChecked();
  if (s.IncludeFilesNewerThen) {
    s.NewerCnt = newer_.count->value();
    s.NewerType = newer_.unit->currentIndex();
  }
  s.IncludeOlderThen = older_.box->isChecked();
  if (s.IncludeOlderThen) {
    s.OlderCnt = older_.count->value();
    s.OlderType = older_.unit->currentIndex();
  }

  storeSize(min_, s.IncludeFilesAtLeastesAttr, s.FileMinSize, s.ByteKbyte1);
  storeSize(max_, s.IncludeFilesNoLargerAttr, s.FileMaxSize, s.ByteKbyte2);
}

}  // namespace kelvara::config::ui
