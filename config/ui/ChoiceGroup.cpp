#include "config/ui/ChoiceGroup.h"

#include <QBoxLayout>
#include <QRadioButton>

namespace kelvara::config::ui {

ChoiceGroup::ChoiceGroup(const QString& title, const QStringList& items, const QString& namePrefix,
                         bool horizontal, QWidget* parent)
    : QGroupBox(title, parent), buttons_(new QButtonGroup(this)) {
  setObjectName(namePrefix);
  QBoxLayout* layout = horizontal ? static_cast<QBoxLayout*>(new QHBoxLayout(this))
                                  : static_cast<QBoxLayout*>(new QVBoxLayout(this));
  for (int i = 0; i < items.size(); ++i) {
    auto* b = new QRadioButton(items[i], this);
    b->setObjectName(namePrefix + QString::number(i));
    buttons_->addButton(b, i);
    layout->addWidget(b);
  }
  if (horizontal) {
    layout->addStretch();
  }
  connect(buttons_, &QButtonGroup::idClicked, this, &ChoiceGroup::chosen);
}

void ChoiceGroup::setIndex(int index) {
  if (QAbstractButton* b = buttons_->button(index)) {
    b->setChecked(true);
    return;
  }
  // An exclusive group keeps its checked button unless exclusivity is lifted for a moment.
  buttons_->setExclusive(false);
  for (QAbstractButton* b : buttons_->buttons()) {
    b->setChecked(false);
  }
  buttons_->setExclusive(true);
}

QRadioButton* ChoiceGroup::button(int index) const {
  return static_cast<QRadioButton*>(buttons_->button(index));
}

}  // namespace kelvara::config::ui
