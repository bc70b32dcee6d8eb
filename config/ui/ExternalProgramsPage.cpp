#include "config/ui/ExternalProgramsPage.h"

#include <QCheckBox>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "config/ui/DialogSupport.h"
#include "config/ui/NumericEdit.h"

namespace kelvara::config::ui {

namespace {

QString q(const std::string& text) {
  return QString::fromStdString(text);
}

const char* const kConverterTitle = "Extern. Conv. Prog.";
const char* const kCounterTitle = "Words Count Prog";

}  // namespace

FileChooser fileDialogChooser() {
  return [](QWidget* parent, const QString& title, const QString& current) {
    const QString folder = current.isEmpty() ? QString() : QFileInfo(current).absolutePath();
    return QFileDialog::getOpenFileName(parent, title, folder);
  };
}

ExternalProgramsPage::ExternalProgramsPage(const platform::Locale& locale, QWidget* parent)
    : SettingsPage(parent) {
  setObjectName("ExternalProgramsPage");
  auto* programs = new QGridLayout;
  int row = 0;
  auto addField = [&](const char* caption, const char* name) {
    auto* label = new QLabel(caption, this);
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    label->setBuddy(field);
    programs->addWidget(label, row, 0);
    programs->addWidget(field, row, 1);
    ++row;
    return field;
  };
  converter_ = addField("Extern. Conv. Prog.: ", "ExtConvProgEdit");
  counter_ = addField("Words Count Prog:", "WordsCountProgEdit");
  cmdLine_[0] = addField("Prog. Cmd Line: I", "ProgCmdLine1Edit");
  cmdLine_[1] = addField("Prog. Cmd Line: II", "ProgCmdLine2Edit");
  cmdLine_[2] = addField("Prog. Cmd Line: III", "ProgCmdLine3Edit");
  prefix_ = addField("Converted file name prefix", "PrefixEdit");
  // The prefix is the converter's own naming of its output: shown, not edited here.
  prefix_->setReadOnly(true);
  keepOutput_ = new QCheckBox("Keep Ext.Prog. Output", this);
  keepOutput_->setObjectName("KeepExtProgOutCkB");
  programs->addWidget(keepOutput_, row, 1);
  programs->setColumnStretch(1, 1);
  // Clicking a program field (or the prefix, which belongs to the converter) opens the chooser.
  for (QLineEdit* field : {converter_, counter_, prefix_}) {
    field->installEventFilter(this);
  }

  auto* counters = new QGroupBox("Counters", this);
  counters->setObjectName("CountersGB");
  auto* grid = new QGridLayout(counters);
  const char* checkCaptions[3] = {"Check Words Count:", "Check Lines Count:", "Check Chars Count:"};
  const char* checkNames[3] = {"WordsCountCheckCkB", "LinesCountCheckCkB", "CharsCountCheckCkB"};
  const char* diffCaptions[3] = {"Words Diff. Wrn.:", "Lines Diff. Wrn.:", "Chars Diff. Wrn.:"};
  const char* diffNames[3] = {"WordDiffWrnEdit", "LineDiffWrnEdit", "CharDiffWrnEdit"};
  for (int i = 0; i < 3; ++i) {
    checks_[i] = new QCheckBox(checkCaptions[i], counters);
    checks_[i]->setObjectName(checkNames[i]);
    diffLabels_[i] = new QLabel(diffCaptions[i], counters);
    diffLabels_[i]->setObjectName(QString(diffNames[i]) + "Lbl");
    diffs_[i] = new NumericEdit(format::NumericEditorKind::Percent, locale, counters);
    diffs_[i]->setObjectName(diffNames[i]);
    diffs_[i]->setRange(0, 100);
    diffLabels_[i]->setBuddy(diffs_[i]);
    grid->addWidget(checks_[i], i, 0);
    grid->addWidget(diffLabels_[i], i, 1, Qt::AlignRight);
    grid->addWidget(diffs_[i], i, 2);
    QLabel* label = diffLabels_[i];
    NumericEdit* edit = diffs_[i];
    connect(checks_[i], &QCheckBox::toggled, this, [label, edit](bool on) {
      label->setEnabled(on);
      edit->setEnabled(on);
    });
  }
  grid->setColumnStretch(3, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(programs);
  layout->addWidget(counters);
  layout->addStretch();
}

void ExternalProgramsPage::load(const Settings& s) {
  converter_->setText(q(s.ExternalConverterProgram));
  counter_->setText(q(s.WordsCountProgram));
  cmdLine_[0]->setText(q(s.ProgCmdLine1));
  cmdLine_[1]->setText(q(s.ProgCmdLine2));
  cmdLine_[2]->setText(q(s.ProgCmdLine3));
  prefix_->setText(q(s.Prefix));
  keepOutput_->setChecked(s.KeepExtProgOut);
  const bool checks[3] = {s.WordsCountCheck, s.LinesCountCheck, s.CharsCountCheck};
  const int32_t diffs[3] = {s.WordDiffWrn, s.LineDiffWrn, s.CharDiffWrn};
  for (int i = 0; i < 3; ++i) {
    checks_[i]->setChecked(checks[i]);
    diffLabels_[i]->setEnabled(checks[i]);
    diffs_[i]->setEnabled(checks[i]);
    diffs_[i]->setValue(diffs[i]);
  }
}

void ExternalProgramsPage::store(Settings& s) const {
  s.ExternalConverterProgram = converter_->text().toStdString();
  s.WordsCountProgram = counter_->text().toStdString();
  s.ProgCmdLine1 = cmdLine_[0]->text().toStdString();
  s.ProgCmdLine2 = cmdLine_[1]->text().toStdString();
  s.ProgCmdLine3 = cmdLine_[2]->text().toStdString();
  s.KeepExtProgOut = keepOutput_->isChecked();
  s.WordsCountCheck = checks_[0]->isChecked();
  s.LinesCountCheck = checks_[1]->isChecked();
  s.CharsCountCheck = checks_[2]->isChecked();
  int32_t* diffs[3] = {&s.WordDiffWrn, &s.LineDiffWrn, &s.CharDiffWrn};
  for (int i = 0; i < 3; ++i) {
    *diffs[i] = static_cast<int32_t>(std::clamp(std::lround(diffs_[i]->value()), 0L, 100L));
  }
}

std::optional<QString> ExternalProgramsPage::unreadableField() const {
  std::vector<std::pair<QString, const NumericEdit*>> fields;
  for (int i = 0; i < 3; ++i) {
    fields.emplace_back(diffLabels_[i]->text(), diffs_[i]);
  }
  return ui::unreadableField(fields);
}

bool ExternalProgramsPage::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    if (watched == counter_) {
      choose(counter_, kCounterTitle);
    } else if (watched == converter_ || watched == prefix_) {
      choose(converter_, kConverterTitle);
    }
  }
  return SettingsPage::eventFilter(watched, event);
}

void ExternalProgramsPage::choose(QLineEdit* field, const QString& title) {
  if (!chooser_) {
    return;
  }
  const QString chosen = chooser_(this, title, field->text());
  if (!chosen.isEmpty()) {
    field->setText(chosen);
  }
}

}  // namespace kelvara::config::ui
