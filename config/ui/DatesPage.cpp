#include "config/ui/DatesPage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "config/ConfigureRules.h"
#include "config/ui/ChoiceGroup.h"
#include "config/ui/QtDateTime.h"

namespace kelvara::config::ui {

namespace {
constexpr int kFixedDate = 2;
constexpr int kCopyDate = 0;
}  // namespace

DatesPage::DatesPage(const platform::Locale& locale, QWidget* parent) : SettingsPage(parent) {
  setObjectName("DatesPage");
  auto* outer = new QVBoxLayout(this);

  mode_ = new ChoiceGroup(
      "File date", {"Copy file date", "Use actual date and time", "Change target file date to:"},
      "DateModeRG", false, this);
  auto* pickers = new QHBoxLayout;
  pickers->setContentsMargins(24, 0, 0, 0);
  date_ = new QDateEdit(mode_);
  date_->setObjectName("NewFilesDateDTP");
  date_->setCalendarPopup(true);
  date_->setDisplayFormat(qtDisplayFormat(locale.shortDateFormat));
  timeCheck_ = new QCheckBox(mode_);
  timeCheck_->setObjectName("TimeCheckCkB");
  timeCheck_->setToolTip("Use this time of day; when off, the time at OK is taken");
  time_ = new QTimeEdit(mode_);
  time_->setObjectName("NewFilesTimeDTP");
  time_->setDisplayFormat(qtDisplayFormat(locale.longTimeFormat));
  // Room beside the texts for the arrows, which otherwise touch the last digit.
  date_->setMinimumWidth(date_->sizeHint().width() + 16);
  time_->setMinimumWidth(time_->sizeHint().width() + 16);
  pickers->addWidget(date_);
  pickers->addSpacing(12);
  pickers->addWidget(timeCheck_);
  pickers->addWidget(time_);
  pickers->addStretch();
  static_cast<QVBoxLayout*>(mode_->layout())->addLayout(pickers);
  outer->addWidget(mode_);

  auto* coherence = new QGroupBox("File age coherence", this);
  coherence->setObjectName("FileAgeCoherenceGB");
  auto* coherenceLayout = new QVBoxLayout(coherence);
  coherenceLayout->addWidget(new QLabel("When there is conflict :", coherence));
  useCreation_ = new QRadioButton("Use Creation date for both", coherence);
  useCreation_->setObjectName("UseCreationDateRB");
  useLastWrite_ = new QRadioButton("Use LastWrite timestamp for both", coherence);
  useLastWrite_->setObjectName("UseLastWriteBothRB");
  coherenceLayout->addWidget(useCreation_);
  coherenceLayout->addWidget(useLastWrite_);
  outer->addWidget(coherence);

  copyBoth_ = new QCheckBox("Copy both Creation && LastWrite Time", this);
  copyBoth_->setObjectName("CopyBothCkB");
  outer->addWidget(copyBoth_);
  outer->addStretch();

  connect(mode_, &ChoiceGroup::chosen, this, [this] { applyMode(); });
  connect(timeCheck_, &QCheckBox::toggled, this, [this] { applyMode(); });
}

void DatesPage::applyMode() {
  const bool fixed = mode_->index() == kFixedDate;
  date_->setEnabled(fixed);
  timeCheck_->setEnabled(fixed);
  time_->setEnabled(fixed && timeCheck_->isChecked());
  copyBoth_->setEnabled(mode_->index() == kCopyDate);
}

void DatesPage::load(const Settings& s) {
  mode_->setIndex(s.DateMode);
  // Outside the fixed-date mode the pickers offer today rather than a stale choice.
  const platform::DateTime shown = s.DateMode == kFixedDate ? s.NewFilesDate : clock_();
  date_->setDate(toQDate(shown));
  time_->setTime(toQTime(shown));
  timeCheck_->setChecked(s.DateMode == kFixedDate && s.TimeCheck);
  // Radio buttons show one choice at most: the later of the two flags wins, and neither stays
  // possible (exclusivity would keep an earlier check).
  useCreation_->setAutoExclusive(false);
  useLastWrite_->setAutoExclusive(false);
  useCreation_->setChecked(s.UseCreationDate && !s.UseLastWriteBoth);
  useLastWrite_->setChecked(s.UseLastWriteBoth);
  useCreation_->setAutoExclusive(true);
  useLastWrite_->setAutoExclusive(true);
  copyBoth_->setChecked(s.CopyBoth);
  applyMode();
}

void DatesPage::store(Settings& s) const {
  if (mode_->index() >= 0) {
    s.DateMode = mode_->index();
  }
  if (s.DateMode == kFixedDate) {
    s.NewFilesDate = ComposeNewFilesDate(fromQt(date_->date()), timeCheck_->isChecked(),
                                         fromQt(date_->date(), time_->time()), clock_());
    s.TimeCheck = timeCheck_->isChecked();
    s.NewFilesDateUtc = platform::localToFileTime(s.NewFilesDate);
  }
  s.UseCreationDate = useCreation_->isChecked();
  s.UseLastWriteBoth = useLastWrite_->isChecked();
  s.CopyBoth = copyBoth_->isChecked();
}

}  // namespace kelvara::config::ui
