#pragma once

#include <QAbstractScrollArea>
#include <QByteArray>
#include <QClipboard>
#include <QString>
#include <cstddef>
#include <functional>
#include <string_view>

#include "app/ReportLines.h"

class QPlainTextEdit;
class QTextLayout;

namespace tarvel {

// A place in the text as shown: a line, and a column in UTF-16 units of that line.
struct TextPosition {
  std::size_t line = 0;
  qsizetype column = 0;
  bool operator==(const TextPosition&) const = default;
  bool operator<(const TextPosition& other) const {
    return line != other.line ? line < other.line : column < other.column;
  }
};

// The listing pane while nobody edits it: it holds the report's bytes once (ReportLines) and
// decodes only the lines it paints, CRs dropped, bytes that are not UTF-8 shown as U+FFFD.
// Every line is as high as a line of the pane's font, its baseline at that font's ascent, even
// where a fallback font draws it (CJK, emoji): the bars of a drawn tree join. No wrapping; both
// scroll bars always, so that nothing resizes as the text grows.
//
// It selects and copies as a read-only text view. The first edit (typed text, Return,
// Backspace, Delete, paste, cut, an input method's text, a text dropped) goes to the editor
// that `becomeEditor` makes of the pane, unless the view is read-only.
class ReportView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit ReportView(std::function<QPlainTextEdit*()> becomeEditor, QWidget* parent = nullptr);

  // Drops the text: shown from its first line, nothing selected.
  void clear();
  // Adds to the text where it ends; the view stays where it is. Throws std::bad_alloc.
  void append(std::string_view piece);
  const ReportLines& lines() const { return lines_; }

  void setReadOnly(bool readOnly);
  bool isReadOnly() const { return readOnly_; }

  // The text as shown from `from` to `to`, in UTF-8 with LF between lines; all of it without.
  QByteArray shownText(TextPosition from, TextPosition to) const;
  QByteArray shownText() const { return shownText({}, end()); }
  // Line `line` as shown.
  QString shownLine(std::size_t line) const;
  // Where `position` is in the whole text as shown, in UTF-16 units, LFs counted.
  qsizetype offsetOf(TextPosition position) const;
  TextPosition end() const;

  TextPosition anchor() const { return anchor_; }
  TextPosition caret() const { return caret_; }
  // Selects from `anchor` to `caret`, scrolled so that the caret shows.
  void select(TextPosition anchor, TextPosition caret);
  std::size_t firstLine() const;
  qreal tabStopDistance() const { return 8 * advance_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;

 private:
  enum class Step {
    NextCharacter,
    PreviousCharacter,
    NextWord,
    PreviousWord,
    NextLine,
    PreviousLine,
    NextPage,
    PreviousPage,
    LineStart,
    LineEnd,
    DocumentStart,
    DocumentEnd
  };

  // Lays out `text` as one line of the pane, at the pane's pitch.
  void layOutLine(QTextLayout& layout, const QString& text) const;
  TextPosition positionAt(QPointF point) const;
  TextPosition stepped(TextPosition from, Step step) const;
  bool moveByKey(const QKeyEvent* key);
  void moveCaret(TextPosition to, bool select);
  void scrollToCaret();
  void copySelection(QClipboard::Mode mode) const;
  // Hands `event` to the editor the pane becomes (to its viewport with `toViewport`); false
  // while the view is read-only.
  bool handToEditor(QEvent* event, bool toViewport = false);
  void measureFont();
  void updateScrollBars();
  int visibleLines() const;

  std::function<QPlainTextEdit*()> becomeEditor_;
  ReportLines lines_;
  TextPosition anchor_;
  TextPosition caret_;
  bool readOnly_ = false;
  qreal lineHeight_ = 1;
  qreal ascent_ = 0;
  qreal advance_ = 1;  // the widest of the font's printable ASCII characters
};

}  // namespace tarvel
