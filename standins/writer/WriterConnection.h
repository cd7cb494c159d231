#pragma once

#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

#include <QString>

#include <atomic>
#include <functional>
#include <memory>

// A connection to a running LibreOffice over a UNO bridge: the office listens with
// `soffice --accept="<description>;urp;"` and we connect to the same description, such
// as "pipe,name=penlark-writer" or "socket,host=localhost,port=2002". The connection
// starts nothing and changes nothing in the office; closing it leaves every document as
// it is. Every call into the office may throw css::uno::Exception, a DisposedException
// once the office has gone.
class WriterConnection {
 public:
  ~WriterConnection();
  WriterConnection(const WriterConnection&) = delete;
  WriterConnection& operator=(const WriterConnection&) = delete;

  // Connects; nullptr with *error set when no office listens there or the local UNO
  // runtime cannot start. onLost runs once, on a thread of the bridge, when the office
  // ends or drops the connection; not when this side closes it.
  static std::unique_ptr<WriterConnection> Open(const QString& description, QString* error,
                                                std::function<void()> onLost = {});

  const css::uno::Reference<css::frame::XDesktop2>& Desktop() const { return desktop_; }

  // Writer's current text document: the component of the active frame when that is a
  // text document, else (a headless office never activates a frame) the text document
  // of the most recently opened frame; an empty reference when no text document is open.
  // Looked up again only after the office reported a document opened, focused or
  // closed, since the look-up costs several round trips.
  css::uno::Reference<css::text::XTextDocument> CurrentTextDocument() const;
  // Changes each time the office reports such an event.
  unsigned Generation() const { return *generation_; }
  // The title of the window showing CurrentTextDocument(), such as
  // "letter.odt - LibreOffice Writer"; "LibreOffice" when none is open.
  QString WindowTitle() const;

 private:
  WriterConnection() = default;

  css::uno::Reference<css::uno::XComponentContext> local_;
  css::uno::Reference<css::lang::XComponent> bridge_;
  css::uno::Reference<css::lang::XEventListener> watcher_;
  css::uno::Reference<css::frame::XDesktop2> desktop_;
  css::uno::Reference<css::uno::XInterface> documents_;
  std::shared_ptr<std::atomic<unsigned>> generation_ = std::make_shared<std::atomic<unsigned>>(0);
  mutable unsigned cachedGeneration_ = 0;
  mutable css::uno::Reference<css::text::XTextDocument> cached_;
};

// Between Qt's UTF-16 text and UNO's.
QString FromUno(const rtl::OUString& text);
rtl::OUString ToUno(const QString& text);
