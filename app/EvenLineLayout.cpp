#include "app/EvenLineLayout.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace tarvel {

QRectF EvenLineLayout::blockBoundingRect(const QTextBlock& block) const {
  QRectF bounds = QPlainTextDocumentLayout::blockBoundingRect(block);
  QTextLayout* layout = block.layout();
  if (!block.isVisible() || layout == nullptr || layout->lineCount() == 0) return bounds;
  const Pitch even = pitch();
  for (int index = 0; index < layout->lineCount(); ++index) {
    QTextLine line = layout->lineAt(index);
    // A taller line rises above its place by what its ascent has more, so that its baseline
    // falls where the pane's font puts every other.
    line.setPosition(
        QPointF(line.position().x(), index * even.height - (line.ascent() - even.ascent)));
  }
  // The last block keeps the document's bottom margin below its lines.
  const qreal below = block.next().isValid() ? 0 : document()->documentMargin();
  bounds.setHeight(layout->lineCount() * even.height + below);
  return bounds;
}

EvenLineLayout::Pitch EvenLineLayout::pitch() const {
  const QFont font = document()->defaultFont();
  if (pitch_.height > 0 && font == measuredFont_) return pitch_;
  // Measured as the plain layout measures a line: a layout of its own, leading included.
  QTextLayout probe(QStringLiteral("x"), font);
  probe.beginLayout();
  QTextLine line = probe.createLine();
  line.setLeadingIncluded(true);
  probe.endLayout();
  measuredFont_ = font;
  pitch_ = {line.height(), line.ascent()};
  return pitch_;
}

}  // namespace tarvel
