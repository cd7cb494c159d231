#include "WriterConnection.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/bridge/BridgeFactory.hpp>
#include <com/sun/star/bridge/XBridge.hpp>
#include <com/sun/star/connection/Connector.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XTitle.hpp>
#include <com/sun/star/frame/theGlobalEventBroadcaster.hpp>
#include <com/sun/star/document/XDocumentEventListener.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <cppuhelper/implbase1.hxx>
#include <rtl/bootstrap.hxx>

#include <atomic>

using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

namespace {

// Tells the owner when the bridge goes, unless the owner is closing it itself.
class LostWatcher : public cppu::WeakImplHelper1<css::lang::XEventListener> {
 public:
  explicit LostWatcher(std::function<void()> onLost) : onLost_(std::move(onLost)) {}

  void SAL_CALL disposing(const css::lang::EventObject&) override {
    if (!closing_.exchange(true) && onLost_) onLost_();
  }
  void Closing() { closing_ = true; }

 private:
  std::function<void()> onLost_;
  std::atomic<bool> closing_{false};
};

// Counts the events that may change which document is current: one opened, shown,
// focused or closed. Called by the office, on a thread of the bridge, before the change
// it reports returns to whoever made it.
class DocumentWatcher : public cppu::WeakImplHelper1<css::document::XDocumentEventListener> {
 public:
  explicit DocumentWatcher(std::shared_ptr<std::atomic<unsigned>> generation)
      : generation_(std::move(generation)) {}

  void SAL_CALL documentEventOccured(const css::document::DocumentEvent& event) override {
    static const char* const kCounted[] = {"OnNew", "OnLoad", "OnCreate", "OnLoadFinished", "OnFocus",
                                           "OnUnfocus", "OnPrepareUnload", "OnUnload", "OnViewCreated",
                                           "OnPrepareViewClosing", "OnViewClosed", "OnStorageChanged"};
    for (const char* name : kCounted)
      if (event.EventName.equalsAscii(name)) {
        ++*generation_;
        return;
      }
  }
  void SAL_CALL disposing(const css::lang::EventObject&) override { ++*generation_; }

 private:
  std::shared_ptr<std::atomic<unsigned>> generation_;
};

// The local UNO runtime, started once for the whole run: every connection, the ones made
// again after the office restarts too, goes through it.
Reference<css::uno::XComponentContext> LocalContext(QString* error) {
  static Reference<css::uno::XComponentContext>* local = nullptr;
  if (local) return *local;
  try {
    // The office's own bootstrap file finds its type and service registries, so nothing
    // needs to be set in the environment.
    rtl::Bootstrap::set(rtl::OUString("URE_BOOTSTRAP"),
                        rtl::OUString::fromUtf8("vnd.sun.star.pathname:" PENLARK_LIBREOFFICE_PROGRAM "/fundamentalrc"));
    local = new Reference<css::uno::XComponentContext>(cppu::defaultBootstrap_InitialComponentContext());
    return *local;
  } catch (const cppu::BootstrapException& e) {
    *error = QStringLiteral("cannot start the UNO runtime: ") + FromUno(e.getMessage());
  } catch (const css::uno::Exception& e) {
    *error = QStringLiteral("cannot start the UNO runtime: ") + FromUno(e.Message);
  }
  return {};
}

struct FrameAndDocument {
  Reference<css::frame::XFrame> frame;
  Reference<css::text::XTextDocument> document;
};

FrameAndDocument TextDocumentOf(const Reference<css::frame::XFrame>& frame) {
  if (!frame.is()) return {};
  const Reference<css::frame::XController> controller = frame->getController();
  if (!controller.is()) return {};
  Reference<css::text::XTextDocument> document(controller->getModel(), UNO_QUERY);
  if (!document.is()) return {};
  return {frame, document};
}

FrameAndDocument Current(const Reference<css::frame::XDesktop2>& desktop) {
  if (FrameAndDocument active = TextDocumentOf(desktop->getActiveFrame()); active.document.is()) return active;
  const Reference<css::container::XIndexAccess> frames(desktop->getFrames(), UNO_QUERY_THROW);
  for (sal_Int32 i = frames->getCount() - 1; i >= 0; --i) {
    Reference<css::frame::XFrame> frame;
    frames->getByIndex(i) >>= frame;
    if (FrameAndDocument found = TextDocumentOf(frame); found.document.is()) return found;
  }
  return {};
}

}  // namespace

QString FromUno(const rtl::OUString& text) {
  return QString(reinterpret_cast<const QChar*>(text.getStr()), text.getLength());
}

rtl::OUString ToUno(const QString& text) {
  return rtl::OUString(reinterpret_cast<const sal_Unicode*>(text.utf16()), static_cast<sal_Int32>(text.size()));
}

std::unique_ptr<WriterConnection> WriterConnection::Open(const QString& description, QString* error,
                                                         std::function<void()> onLost) {
  std::unique_ptr<WriterConnection> connection(new WriterConnection);
  connection->local_ = LocalContext(error);
  if (!connection->local_.is()) return nullptr;
  try {
    const auto link = css::connection::Connector::create(connection->local_)->connect(ToUno(description));
    const Reference<css::bridge::XBridge> bridge =
        css::bridge::BridgeFactory::create(connection->local_)->createBridge({}, rtl::OUString("urp"), link, nullptr);
    connection->bridge_.set(bridge, UNO_QUERY_THROW);
    const Reference<css::beans::XPropertySet> manager(bridge->getInstance(rtl::OUString("StarOffice.ServiceManager")),
                                                      UNO_QUERY_THROW);
    const Reference<css::uno::XComponentContext> remote(
        manager->getPropertyValue(rtl::OUString("DefaultContext")), UNO_QUERY_THROW);
    connection->desktop_ = css::frame::Desktop::create(remote);
    connection->watcher_ = new LostWatcher(std::move(onLost));
    connection->bridge_->addEventListener(connection->watcher_);
    const Reference<css::document::XDocumentEventListener> documents = new DocumentWatcher(connection->generation_);
    connection->documents_ = documents;
    css::frame::theGlobalEventBroadcaster::get(remote)->addDocumentEventListener(documents);
  } catch (const css::connection::NoConnectException&) {
    *error = QStringLiteral("no LibreOffice listens on %1; set yours up once with penlark-writer --setup, or start "
                            "one with: soffice --accept=\"%1;urp;\"").arg(description);
    return nullptr;
  } catch (const css::uno::Exception& e) {
    *error = QStringLiteral("cannot connect to LibreOffice on %1: %2").arg(description, FromUno(e.Message));
    return nullptr;
  }
  return connection;
}

WriterConnection::~WriterConnection() {
  if (watcher_.is()) static_cast<LostWatcher*>(watcher_.get())->Closing();
  try {
    if (bridge_.is()) bridge_->dispose();
  } catch (const css::uno::Exception&) {
    // An office that has already gone leaves nothing to close.
  }
}

Reference<css::text::XTextDocument> WriterConnection::CurrentTextDocument() const {
  const unsigned generation = *generation_;
  if (cachedGeneration_ != generation || !cached_.is()) {
    cached_ = Current(desktop_).document;
    cachedGeneration_ = generation;
  }
  return cached_;
}

QString WriterConnection::WindowTitle() const {
  const Reference<css::frame::XTitle> title(Current(desktop_).frame, UNO_QUERY);
  return title.is() ? FromUno(title->getTitle()) : QStringLiteral("LibreOffice");
}
