#include "word/lo/OfficeConnection.h"

#include <com/sun/star/bridge/BridgeFactory.hpp>
#include <com/sun/star/bridge/XBridgeFactory2.hpp>
#include <com/sun/star/connection/Connector.hpp>
#include <com/sun/star/connection/XConnection.hpp>
#include <com/sun/star/connection/XConnector.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/lang/XEventListener.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <cppuhelper/implbase1.hxx>
#include <rtl/bootstrap.hxx>

#include <mutex>

namespace kelvara::word::lo {
namespace {

using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

class BridgeListener : public cppu::WeakImplHelper1<css::lang::XEventListener> {
 public:
  explicit BridgeListener(std::shared_ptr<std::atomic<bool>> flag) : flag_(std::move(flag)) {}
  void SAL_CALL disposing(const css::lang::EventObject&) override { *flag_ = true; }

 private:
  std::shared_ptr<std::atomic<bool>> flag_;
};

}  // namespace

Reference<css::uno::XComponentContext> localContext(const std::string& programDir) {
  static std::mutex mutex;
  static Reference<css::uno::XComponentContext> context;
  std::lock_guard<std::mutex> lock(mutex);
  if (!context.is()) {
    // Without the office's own bootstrap file the client lacks the office types and crashes
    // on the first call that needs one.
    rtl::Bootstrap::set("URE_BOOTSTRAP",
                        toOU("vnd.sun.star.pathname:" + programDir + "/fundamentalrc"));
    context = cppu::defaultBootstrap_InitialComponentContext();
  }
  return context;
}

OfficeConnection::OfficeConnection(const Reference<css::uno::XComponentContext>& local,
                                   const std::string& pipeName)
    : disposed_(std::make_shared<std::atomic<bool>>(false)) {
  Reference<css::connection::XConnector> connector = css::connection::Connector::create(local);
  Reference<css::connection::XConnection> connection =
      connector->connect(toOU("pipe,name=" + pipeName));
  Reference<css::bridge::XBridgeFactory2> bridges = css::bridge::BridgeFactory::create(local);
  bridge_ = bridges->createBridge(OUString(), "urp", connection, nullptr);
  Reference<css::lang::XComponent> bridgeComponent(bridge_, UNO_QUERY_THROW);
  bridgeComponent->addEventListener(new BridgeListener(disposed_));

  context_.set(bridge_->getInstance("StarOffice.ComponentContext"), UNO_QUERY_THROW);
  factory_ = context_->getServiceManager();
  desktop_ = css::frame::Desktop::create(context_);
}

OfficeConnection::~OfficeConnection() {
  close();
}

void OfficeConnection::close() {
  desktop_.clear();
  factory_.clear();
  context_.clear();
  if (bridge_.is()) {
    Reference<css::lang::XComponent> component(bridge_, UNO_QUERY);
    bridge_.clear();
    try {
      if (component.is()) {
        component->dispose();
      }
    } catch (const css::uno::Exception&) {
      // Already gone with the office.
    }
  }
  *disposed_ = true;
}

Reference<css::uno::XInterface> OfficeConnection::create(const char* service) const {
  return factory_->createInstanceWithContext(OUString::createFromAscii(service), context_);
}

}  // namespace kelvara::word::lo
