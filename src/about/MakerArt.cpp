#include "about/MakerArt.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <functional>

namespace {
const QColor kDeepGreen(22, 74, 64);
const QColor kTeal(38, 128, 112);
const QColor kCream(246, 240, 222);
const QColor kGold(214, 170, 72);

// The mark: a harrow's two posts and a lane curving away between them, in a circle.
void DrawMark(QPainter& p, const QRectF& box) {
  const qreal s = box.width();
  QRadialGradient disc(box.center() - QPointF(s * 0.15, s * 0.15), s * 0.7);
  disc.setColorAt(0, kTeal.lighter(125));
  disc.setColorAt(1, kDeepGreen);
  p.setPen(QPen(kGold, s * 0.05));
  p.setBrush(disc);
  p.drawEllipse(box.adjusted(s * 0.03, s * 0.03, -s * 0.03, -s * 0.03));

  QPainterPath lane;
  lane.moveTo(box.left() + s * 0.32, box.bottom() - s * 0.12);
  lane.cubicTo(box.left() + s * 0.44, box.top() + s * 0.62, box.left() + s * 0.62,
               box.top() + s * 0.52, box.left() + s * 0.52, box.top() + s * 0.22);
  lane.lineTo(box.left() + s * 0.56, box.top() + s * 0.22);
  lane.cubicTo(box.left() + s * 0.72, box.top() + s * 0.52, box.left() + s * 0.60,
               box.top() + s * 0.66, box.left() + s * 0.68, box.bottom() - s * 0.12);
  lane.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(kGold);
  p.drawPath(lane);

  p.setPen(QPen(kCream, s * 0.085, Qt::SolidLine, Qt::RoundCap));
  const qreal top = box.top() + s * 0.28;
  const qreal bottom = box.bottom() - s * 0.28;
  p.drawLine(QPointF(box.left() + s * 0.30, top), QPointF(box.left() + s * 0.30, bottom));
  p.drawLine(QPointF(box.right() - s * 0.30, top), QPointF(box.right() - s * 0.30, bottom));
  p.drawLine(QPointF(box.left() + s * 0.30, box.center().y()),
             QPointF(box.right() - s * 0.30, box.center().y()));
}

// A picture of the size, transparent where paint leaves it so, painted with antialiasing.
QPixmap Painted(QSize size, const std::function<void(QPainter&)>& paint) {
  QPixmap pixmap(size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  paint(p);
  p.end();
  return pixmap;
}

// The program icon: a letter with an address block, and a pen nib crossing it.
void DrawIcon(QPainter& p, int size) {
  const qreal s = size / 32.0;
  p.scale(s, s);
  p.setPen(QPen(QColor(40, 60, 110), 1.2));
  p.setBrush(QColor(250, 248, 235));
  p.drawRect(QRectF(4, 2, 20, 27));  // the letter
  p.setPen(QPen(QColor(90, 90, 90), 1.4));
  for (int line = 0; line < 3; ++line) p.drawLine(QPointF(8, 7 + 3.5 * line), QPointF(18, 7 + 3.5 * line));
  p.setPen(QPen(QColor(40, 60, 110), 1.4));
  for (int line = 0; line < 3; ++line) p.drawLine(QPointF(8, 18 + 3 * line), QPointF(20, 18 + 3 * line));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(170, 40, 40));  // the pen nib
  p.drawPolygon(QPolygonF({QPointF(30, 4), QPointF(26, 3), QPointF(16, 19), QPointF(19, 21)}));
}

// The wide logo: the mark on a band, with the maker's name and trade.
void DrawLogo(QPainter& p, QSize size) {
  p.setRenderHint(QPainter::TextAntialiasing);

  QLinearGradient band(0, 0, size.width(), size.height());
  band.setColorAt(0, kDeepGreen);
  band.setColorAt(1, kTeal);
  p.setPen(Qt::NoPen);
  p.setBrush(band);
  p.drawRoundedRect(QRectF(0, 0, size.width(), size.height()), 10, 10);

  p.setPen(QPen(kGold, 2));
  p.drawLine(QPointF(92, size.height() - 18), QPointF(size.width() - 20, size.height() - 18));

  DrawMark(p, QRectF(14, 10, 64, 64));

  QFont name(QStringLiteral("DejaVu Serif"));
  name.setPixelSize(30);
  name.setBold(true);
  p.setFont(name);
  p.setPen(kCream);
  p.drawText(QRectF(92, 8, size.width() - 100, 40), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Harrow Lane"));

  QFont trade(QStringLiteral("DejaVu Sans"));
  trade.setPixelSize(13);
  trade.setLetterSpacing(QFont::AbsoluteSpacing, 5);
  p.setFont(trade);
  p.setPen(kGold.lighter(120));
  p.drawText(QRectF(94, 44, size.width() - 100, 20), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("SOFTWARE"));
}

}  // namespace

QPixmap PenlarkIcon(int size) {
  return Painted(QSize(size, size), [size](QPainter& p) { DrawIcon(p, size); });
}

QPixmap MakerBadge(int size) {
  return Painted(QSize(size, size), [size](QPainter& p) { DrawMark(p, QRectF(0, 0, size, size)); });
}

QPixmap MakerLogo() {
  const QSize size(400, 84);
  return Painted(size, [size](QPainter& p) { DrawLogo(p, size); });
}
