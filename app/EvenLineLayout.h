#pragma once

#include <QFont>
#include <QPlainTextDocumentLayout>

namespace tarvel {

// Lays out the pane's lines one under the other at the pitch of its own font, whatever fonts
// draw them. A character the pane's font lacks (Chinese, Japanese, Korean, an emoji) is drawn
// by a fallback font whose ascent and descent are larger, which would make its line taller
// than the others and break the vertical bars of a drawn tree. Every line here gets the same
// height, its baseline where a line of the pane's font would have it.
class EvenLineLayout : public QPlainTextDocumentLayout {
  Q_OBJECT

 public:
  using QPlainTextDocumentLayout::QPlainTextDocumentLayout;

  // The plain layout places a block's lines when it is first asked for the block's rectangle;
  // every use of a line's place (painting, the cursor, a click) asks for it first.
  QRectF blockBoundingRect(const QTextBlock& block) const override;

 private:
  struct Pitch {
    qreal height = 0;
    qreal ascent = 0;
  };
  // The height and ascent of a line of the document's own font, measured once per font.
  Pitch pitch() const;

  mutable QFont measuredFont_;
  mutable Pitch pitch_;
};

}  // namespace tarvel
