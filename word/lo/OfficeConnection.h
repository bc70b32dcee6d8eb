#pragma once

#include <com/sun/star/bridge/XBridge.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/lang/XMultiComponentFactory.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

#include <atomic>
#include <memory>
#include <string>

#include "word/lo/UnoSupport.h"

namespace kelvara::word::lo {

// This process's own UNO environment, bootstrapped once from the office's type libraries.
css::uno::Reference<css::uno::XComponentContext> localContext(const std::string& programDir);

// One URP bridge to our office over its named pipe. The bridge reports its own end (office
// gone, pipe closed), which makes every later call fail with a DisposedException.
class OfficeConnection {
 public:
  // Throws css::connection::NoConnectException while nobody listens on the pipe.
  OfficeConnection(const css::uno::Reference<css::uno::XComponentContext>& local,
                   const std::string& pipeName);
  ~OfficeConnection();
  OfficeConnection(const OfficeConnection&) = delete;
  OfficeConnection& operator=(const OfficeConnection&) = delete;

  bool disposed() const { return disposed_->load(); }
  // A call found the bridge gone before its end was announced: the connection serves no more.
  void markDisposed() { *disposed_ = true; }
  // Drops the bridge; the office keeps running.
  void close();

  const css::uno::Reference<css::uno::XComponentContext>& context() const { return context_; }
  const css::uno::Reference<css::lang::XMultiComponentFactory>& factory() const { return factory_; }
  const css::uno::Reference<css::frame::XDesktop2>& desktop() const { return desktop_; }

  css::uno::Reference<css::uno::XInterface> create(const char* service) const;

 private:
  std::shared_ptr<std::atomic<bool>> disposed_;
  css::uno::Reference<css::bridge::XBridge> bridge_;
  css::uno::Reference<css::uno::XComponentContext> context_;
  css::uno::Reference<css::lang::XMultiComponentFactory> factory_;
  css::uno::Reference<css::frame::XDesktop2> desktop_;
};

}  // namespace kelvara::word::lo
