#include "app/ReportView.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStringDecoder>
#include <QTextCursor>
#include <QTextLayout>
#include <algorithm>
#include <climits>
#include <cmath>

namespace tarvel {

namespace {

// As a text document leaves around its text.
constexpr qreal kMargin = 4;

// `bytes` decoded as the pane shows them: CRs dropped, and a byte order mark that opens them is
// a name's first character, kept as any other.
QString decoded(std::string_view bytes) {
  QStringDecoder fromUtf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
  QString text =
      fromUtf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  if (bytes.find('\r') != std::string_view::npos) text.remove(QLatin1Char('\r'));
  return text;
}

// A line's text as shown, in UTF-8: its own bytes when they are that already.
void appendShown(QByteArray& out, std::string_view line) {
  const std::string_view body = line.substr(0, line.find('\r'));
  if (body.size() == line.size() || (body.size() + 1 == line.size())) {
    const QByteArrayView bytes(body.data(), static_cast<qsizetype>(body.size()));
    if (bytes.isValidUtf8()) {
      out.append(bytes);
      return;
    }
  }
  out.append(decoded(line).toUtf8());
}

bool isEdit(const QKeyEvent* key) {
  for (const QKeySequence::StandardKey edit :
       {QKeySequence::Paste, QKeySequence::Cut, QKeySequence::Delete, QKeySequence::DeleteEndOfWord,
        QKeySequence::DeleteStartOfWord, QKeySequence::DeleteEndOfLine,
        QKeySequence::InsertParagraphSeparator, QKeySequence::InsertLineSeparator}) {
    if (key->matches(edit)) return true;
  }
  if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete) return true;
  const QString text = key->text();
  return !text.isEmpty() && text.at(0).isPrint() && !(key->modifiers() & Qt::ControlModifier);
}

}  // namespace

ReportView::ReportView(std::function<QPlainTextEdit*()> becomeEditor, QWidget* parent)
    : QAbstractScrollArea(parent), becomeEditor_(std::move(becomeEditor)) {
  setAttribute(Qt::WA_InputMethodEnabled);
  viewport()->setCursor(Qt::IBeamCursor);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  measureFont();
}

void ReportView::clear() {
  lines_.clear();
  anchor_ = caret_ = {};
  updateScrollBars();  // no range left: both bars back at the start
  viewport()->update();
}

void ReportView::append(std::string_view piece) {
  lines_.append(piece);
  updateScrollBars();
  viewport()->update();
}

void ReportView::setReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  setAttribute(Qt::WA_InputMethodEnabled, !readOnly);
}

QString ReportView::shownLine(std::size_t line) const {
  return decoded(lines_.line(line));
}

TextPosition ReportView::end() const {
  const std::size_t last = lines_.lineCount() - 1;
  return {last, shownLine(last).size()};
}

QByteArray ReportView::shownText(TextPosition from, TextPosition to) const {
  if (to < from) std::swap(from, to);
  QByteArray text;
  if (from.line == to.line)
    return shownLine(from.line).mid(from.column, to.column - from.column).toUtf8();
  const std::string_view last = lines_.line(to.line);
  // As long as the lines' bytes, mostly.
  text.reserve(static_cast<qsizetype>(last.data() + last.size() - lines_.line(from.line).data()));
  text += shownLine(from.line).mid(from.column).toUtf8();
  // The lines between, in a row: each found from the one before.
  std::string_view rest = lines_.bytes().substr(
      static_cast<std::size_t>(lines_.line(from.line + 1).data() - lines_.bytes().data()));
  for (std::size_t line = from.line + 1; line < to.line; ++line) {
    const std::size_t lineFeed = rest.find('\n');
    text += '\n';
    appendShown(text, rest.substr(0, lineFeed));
    rest.remove_prefix(lineFeed + 1);
  }
  text += '\n';
  text += shownLine(to.line).left(to.column).toUtf8();
  return text;
}

qsizetype ReportView::offsetOf(TextPosition position) const {
  const std::string_view before = lines_.bytes().substr(
      0, static_cast<std::size_t>(lines_.line(position.line).data() - lines_.bytes().data()));
  // A piece at a time: the whole text in UTF-16 at once would cost twice its size again.
  constexpr std::size_t kPiece = std::size_t{256} << 10;
  QStringDecoder fromUtf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
  qsizetype offset = position.column;
  for (std::size_t at = 0; at < before.size(); at += kPiece) {
    const std::string_view piece = before.substr(at, kPiece);
    const QString text =
        fromUtf8.decode(QByteArrayView(piece.data(), static_cast<qsizetype>(piece.size())));
    offset += text.size() - text.count(QLatin1Char('\r'));
  }
  return offset;
}

void ReportView::select(TextPosition anchor, TextPosition caret) {
  anchor_ = anchor;
  caret_ = caret;
  scrollToCaret();
  viewport()->update();
}

std::size_t ReportView::firstLine() const {
  return static_cast<std::size_t>(verticalScrollBar()->value());
}

int ReportView::visibleLines() const {
  return std::max(1, static_cast<int>((viewport()->height() - kMargin) / lineHeight_));
}

void ReportView::measureFont() {
  // As a text document measures a line: a layout of its own, leading included.
  QTextLayout probe(QStringLiteral("x"), font());
  probe.beginLayout();
  QTextLine line = probe.createLine();
  line.setLeadingIncluded(true);
  probe.endLayout();
  lineHeight_ = std::max<qreal>(1, line.height());
  ascent_ = line.ascent();
  const QFontMetricsF metrics(font());
  advance_ = 1;
  for (char16_t ascii = 0x20; ascii < 0x7F; ++ascii)
    advance_ = std::max(advance_, metrics.horizontalAdvance(QChar(ascii)));
}

void ReportView::updateScrollBars() {
  const int rows = visibleLines();
  const std::size_t lines = lines_.lineCount();
  const auto toInt = [](double value) {
    return static_cast<int>(std::min<double>(value, INT_MAX));
  };
  verticalScrollBar()->setRange(
      0, toInt(lines > static_cast<std::size_t>(rows) ? static_cast<double>(lines - rows) : 0));
  verticalScrollBar()->setPageStep(rows);
  const double width = static_cast<double>(lines_.widestColumns()) * advance_ + 2 * kMargin;
  horizontalScrollBar()->setRange(0, toInt(std::max(0.0, width - viewport()->width())));
  horizontalScrollBar()->setPageStep(viewport()->width());
  horizontalScrollBar()->setSingleStep(toInt(std::ceil(advance_)));
}

void ReportView::layOutLine(QTextLayout& layout, const QString& text) const {
  QString shown = text;
  // A line or paragraph separator in a name would end the line there: shown, not obeyed.
  shown.replace(QChar::LineSeparator, QChar(0x21B5))
      .replace(QChar::ParagraphSeparator, QChar(0x21B5));
  layout.setText(shown);
  layout.setFont(font());
  QTextOption option;
  option.setTabStopDistance(tabStopDistance());
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine line = layout.createLine();  // of no set width: the whole text, never wrapped
  line.setLeadingIncluded(true);
  layout.endLayout();
  // A taller line rises by what its ascent has more, so that its baseline falls where the
  // pane's font puts every other.
  line.setPosition(QPointF(0, ascent_ - line.ascent()));
}

void ReportView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  painter.setPen(palette().color(QPalette::Text));
  const auto [from, to] = std::minmax(anchor_, caret_);
  const qreal left = kMargin - horizontalScrollBar()->value();
  qreal top = kMargin;
  QTextLayout layout;
  for (std::size_t line = firstLine(); line < lines_.lineCount() && top < viewport()->height();
       ++line, top += lineHeight_) {
    layOutLine(layout, shownLine(line));
    QList<QTextLayout::FormatRange> selected;
    if (from.line <= line && line <= to.line && from != to) {
      const qsizetype start = line == from.line ? from.column : 0;
      const qsizetype stop = line == to.line ? to.column : layout.text().size();
      QTextCharFormat format;
      format.setBackground(palette().brush(QPalette::Highlight));
      format.setForeground(palette().brush(QPalette::HighlightedText));
      selected.append({static_cast<int>(start), static_cast<int>(stop - start), format});
    }
    layout.draw(&painter, QPointF(left, top), selected);
    // Drawn while focused: a change of focus repaints the whole area, the viewport with it.
    if (line == caret_.line && hasFocus())
      layout.drawCursor(&painter, QPointF(left, top), static_cast<int>(caret_.column));
  }
}

TextPosition ReportView::positionAt(QPointF point) const {
  const double row = std::floor((point.y() - kMargin) / lineHeight_);
  const double line = std::clamp(static_cast<double>(firstLine()) + row, 0.0,
                                 static_cast<double>(lines_.lineCount() - 1));
  TextPosition position{static_cast<std::size_t>(line), 0};
  QTextLayout layout;
  layOutLine(layout, shownLine(position.line));
  position.column =
      layout.lineAt(0).xToCursor(point.x() - kMargin + horizontalScrollBar()->value());
  return position;
}

TextPosition ReportView::stepped(TextPosition from, Step step) const {
  const std::size_t last = lines_.lineCount() - 1;
  const auto onLine = [this](std::size_t line, qsizetype column) {
    return TextPosition{line, std::min(column, shownLine(line).size())};
  };
  const auto across = [this, &from, last](QTextLayout::CursorMode mode, bool forward) {
    QTextLayout layout(shownLine(from.line));
    const int column = static_cast<int>(from.column);
    if (forward && from.column >= layout.text().size())
      return from.line < last ? TextPosition{from.line + 1, 0} : from;
    if (!forward && from.column == 0)
      return from.line > 0 ? TextPosition{from.line - 1, shownLine(from.line - 1).size()} : from;
    return TextPosition{from.line, forward ? layout.nextCursorPosition(column, mode)
                                           : layout.previousCursorPosition(column, mode)};
  };
  const auto page = static_cast<std::size_t>(visibleLines());
  switch (step) {
    case Step::NextCharacter:
      return across(QTextLayout::SkipCharacters, true);
    case Step::PreviousCharacter:
      return across(QTextLayout::SkipCharacters, false);
    case Step::NextWord:
      return across(QTextLayout::SkipWords, true);
    case Step::PreviousWord:
      return across(QTextLayout::SkipWords, false);
    case Step::NextLine:
      return onLine(std::min(from.line + 1, last), from.column);
    case Step::PreviousLine:
      return onLine(from.line == 0 ? 0 : from.line - 1, from.column);
    case Step::NextPage:
      return onLine(std::min(from.line + page, last), from.column);
    case Step::PreviousPage:
      return onLine(from.line - std::min(from.line, page), from.column);
    case Step::LineStart:
      return {from.line, 0};
    case Step::LineEnd:
      return {from.line, shownLine(from.line).size()};
    case Step::DocumentStart:
      return {};
    case Step::DocumentEnd:
      return end();
  }
  return from;
}

bool ReportView::moveByKey(const QKeyEvent* key) {
  struct Binding {
    QKeySequence::StandardKey move;
    QKeySequence::StandardKey select;
    Step step;
  };
  static constexpr Binding kBindings[] = {
      {QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar, Step::NextCharacter},
      {QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar, Step::PreviousCharacter},
      {QKeySequence::MoveToNextWord, QKeySequence::SelectNextWord, Step::NextWord},
      {QKeySequence::MoveToPreviousWord, QKeySequence::SelectPreviousWord, Step::PreviousWord},
      {QKeySequence::MoveToNextLine, QKeySequence::SelectNextLine, Step::NextLine},
      {QKeySequence::MoveToPreviousLine, QKeySequence::SelectPreviousLine, Step::PreviousLine},
      {QKeySequence::MoveToNextPage, QKeySequence::SelectNextPage, Step::NextPage},
      {QKeySequence::MoveToPreviousPage, QKeySequence::SelectPreviousPage, Step::PreviousPage},
      {QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine, Step::LineStart},
      {QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine, Step::LineEnd},
      {QKeySequence::MoveToStartOfDocument, QKeySequence::SelectStartOfDocument,
       Step::DocumentStart},
      {QKeySequence::MoveToEndOfDocument, QKeySequence::SelectEndOfDocument, Step::DocumentEnd},
  };
  for (const Binding& binding : kBindings) {
    const bool select = key->matches(binding.select);
    if (select || key->matches(binding.move)) {
      moveCaret(stepped(caret_, binding.step), select);
      return true;
    }
  }
  return false;
}

void ReportView::moveCaret(TextPosition to, bool select) {
  caret_ = to;
  if (!select) anchor_ = to;
  scrollToCaret();
  viewport()->update();
}

void ReportView::scrollToCaret() {
  QScrollBar* vertical = verticalScrollBar();
  const auto line = static_cast<double>(caret_.line);
  if (line < vertical->value()) vertical->setValue(static_cast<int>(line));
  if (line >= vertical->value() + visibleLines())
    vertical->setValue(static_cast<int>(line) - visibleLines() + 1);
  QTextLayout layout;
  layOutLine(layout, shownLine(caret_.line));
  const qreal x = layout.lineAt(0).cursorToX(static_cast<int>(caret_.column)) + kMargin;
  QScrollBar* horizontal = horizontalScrollBar();
  const int width = viewport()->width();
  if (x < horizontal->value() + kMargin) horizontal->setValue(static_cast<int>(x - kMargin));
  if (x > horizontal->value() + width - kMargin)
    horizontal->setValue(static_cast<int>(std::ceil(x + kMargin - width)));
}

void ReportView::copySelection(QClipboard::Mode mode) const {
  if (anchor_ == caret_) return;
  // Plain text only: a paste asks for nothing else.
  auto* plainText = new QMimeData;
  plainText->setData(QStringLiteral("text/plain"), shownText(anchor_, caret_));
  QApplication::clipboard()->setMimeData(plainText, mode);
}

bool ReportView::handToEditor(QEvent* event, bool toViewport) {
  if (readOnly_) return false;
  QPlainTextEdit* editor = becomeEditor_();
  QCoreApplication::sendEvent(toViewport ? editor->viewport() : editor, event);
  return true;
}

void ReportView::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    copySelection(QClipboard::Clipboard);
  } else if (event->matches(QKeySequence::SelectAll)) {
    select({}, end());
  } else if (!moveByKey(event) && !(isEdit(event) && handToEditor(event))) {
    event->ignore();  // the window's: Escape, Return on a read-only pane
  }
}

void ReportView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::MiddleButton && QApplication::clipboard()->supportsSelection()) {
    static_cast<void>(handToEditor(event, true));  // pastes what is selected elsewhere
  } else if (event->button() == Qt::LeftButton) {
    moveCaret(positionAt(event->position()), event->modifiers().testFlag(Qt::ShiftModifier));
  }
}

void ReportView::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() & Qt::LeftButton) moveCaret(positionAt(event->position()), true);
}

void ReportView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && QApplication::clipboard()->supportsSelection())
    copySelection(QClipboard::Selection);
}

void ReportView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const TextPosition at = positionAt(event->position());
  const QString text = shownLine(at.line);
  const auto inWord = [&text](qsizetype column) {
    return column >= 0 && column < text.size() &&
           (text.at(column).isLetterOrNumber() || text.at(column) == QLatin1Char('_'));
  };
  qsizetype start = at.column;
  qsizetype stop = at.column;
  while (inWord(start - 1)) --start;
  while (inWord(stop)) ++stop;
  select({at.line, start}, {at.line, stop});
}

void ReportView::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  const auto shortcut = [](QKeySequence::StandardKey key) {
    return QLatin1Char('\t') + QKeySequence(key).toString(QKeySequence::NativeText);
  };
  QAction* copy = menu.addAction(QStringLiteral("Cop&ier") + shortcut(QKeySequence::Copy), this,
                                 [this] { copySelection(QClipboard::Clipboard); });
  copy->setEnabled(anchor_ != caret_);
  QAction* paste = menu.addAction(QStringLiteral("Co&ller") + shortcut(QKeySequence::Paste), this,
                                  [this] { becomeEditor_()->paste(); });
  const QMimeData* clipboard = QApplication::clipboard()->mimeData();
  paste->setEnabled(!readOnly_ && clipboard != nullptr && clipboard->hasText());
  menu.addSeparator();
  menu.addAction(QStringLiteral("Tout sélectionner") + shortcut(QKeySequence::SelectAll), this,
                 [this] { select({}, end()); });
  menu.exec(event->globalPos());
}

void ReportView::dragEnterEvent(QDragEnterEvent* event) {
  if (!readOnly_ && event->mimeData()->hasText()) event->acceptProposedAction();
}

void ReportView::dragMoveEvent(QDragMoveEvent* event) {
  if (!readOnly_ && event->mimeData()->hasText()) event->acceptProposedAction();
}

void ReportView::dropEvent(QDropEvent* event) {
  // Put in the editor here: Qt hands a drop only to the widget that took the drag's entry.
  if (readOnly_ || !event->mimeData()->hasText()) return;
  QPlainTextEdit* editor = becomeEditor_();
  QTextCursor cursor = editor->cursorForPosition(event->position().toPoint());
  cursor.insertText(event->mimeData()->text());
  editor->setTextCursor(cursor);
  event->acceptProposedAction();
}

void ReportView::inputMethodEvent(QInputMethodEvent* event) {
  if (event->commitString().isEmpty() || !handToEditor(event)) event->ignore();
}

void ReportView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  updateScrollBars();
}

void ReportView::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    measureFont();
    updateScrollBars();
  }
}

void ReportView::scrollContentsBy(int, int) {
  viewport()->update();
}

}  // namespace tarvel
