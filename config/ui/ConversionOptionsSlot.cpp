#include "config/ui/ConversionOptionsSlot.h"

#if __has_include("config/ui/ConversionOptionsTab.h")
#include "config/ui/ConversionOptionsTab.h"
#define KELVARA_HAS_CONVERSION_OPTIONS_TAB 1
#else
#include <QLabel>
#include <QVBoxLayout>
#endif

namespace kelvara::config::ui {

#ifdef KELVARA_HAS_CONVERSION_OPTIONS_TAB

ConversionOptionsSlot makeConversionOptionsTab(const std::string& wordVersion,
                                               const platform::Locale& locale, QWidget* parent) {
  auto* tab = new ConversionOptionsTab(wordVersion, locale, parent);
  ConversionOptionsSlot slot;
  slot.page = tab;
  slot.diffVertHorizPagParms = [tab] { return tab->diffVertHorizPagParms(); };
  slot.setDiffVertHorizPagParms = [tab](bool on) { tab->setDiffVertHorizPagParms(on); };
  slot.currentInnerTab = [tab] { return tab->currentInnerTab(); };
  slot.setCurrentInnerTab = [tab](int index) { tab->setCurrentInnerTab(index); };
  slot.setSecurityAvailable = [tab](bool available, bool administrator) {
    tab->setSecurityAvailable(available, administrator);
  };
  slot.securityShown = [tab] { return tab->securityShown(); };
  return slot;
}

#else

namespace {

// Holds the conversion options unchanged while their page is not part of the program: they are
// written again from memory on OK, and the one box other dialogs read keeps its state here.
class StoredConversionOptions : public SettingsPage {
 public:
  explicit StoredConversionOptions(QWidget* parent) : SettingsPage(parent) {
    setObjectName("ConversionOptionsTab");
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel("The conversion options keep the values stored in Kelva.ini.", this);
    label->setWordWrap(true);
    layout->addWidget(label);
    layout->addStretch();
  }
  void load(const Settings& settings) override { diff_ = settings.DiffVertHorizPagParms; }
  void store(Settings& settings) const override { settings.DiffVertHorizPagParms = diff_; }
  bool diff_ = true;
  bool security_ = false;
};

}  // namespace

ConversionOptionsSlot makeConversionOptionsTab(const std::string&, const platform::Locale&,
                                               QWidget* parent) {
  auto* page = new StoredConversionOptions(parent);
  ConversionOptionsSlot slot;
  slot.page = page;
  slot.diffVertHorizPagParms = [page] { return page->diff_; };
  slot.setDiffVertHorizPagParms = [page](bool on) { page->diff_ = on; };
  slot.currentInnerTab = [] { return 0; };
  slot.setCurrentInnerTab = [](int) {};
  slot.setSecurityAvailable = [page](bool available, bool) { page->security_ = available; };
  slot.securityShown = [page] { return page->security_; };
  return slot;
}

#endif

}  // namespace kelvara::config::ui
