#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QStringList>

class QRadioButton;

namespace kelvara::config::ui {

// A framed set of radio buttons whose choice is an item index, as the option stores it.
class ChoiceGroup : public QGroupBox {
  Q_OBJECT

 public:
  // The buttons are named namePrefix + their index ("ReadOnlyRG0", ...).
  ChoiceGroup(const QString& title, const QStringList& items, const QString& namePrefix,
              bool horizontal, QWidget* parent = nullptr);

  // -1 when no button is checked.
  int index() const { return buttons_->checkedId(); }
  // An index outside the items leaves every button unchecked.
  void setIndex(int index);
  QRadioButton* button(int index) const;

 signals:
  // The operator chose an item.
  void chosen(int index);

 private:
  QButtonGroup* buttons_;
};

}  // namespace kelvara::config::ui
