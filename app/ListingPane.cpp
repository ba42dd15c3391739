#include "app/ListingPane.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStackedLayout>
#include <QTextBlock>
#include <QTextCursor>

#include "app/PaneText.h"
#include "app/ReportPane.h"
#include "app/ReportView.h"

namespace tarvel {

ListingPane::ListingPane(QWidget* parent)
    : QWidget(parent),
      stack_(new QStackedLayout(this)),
      view_(new ReportView([this] { return becomeEditor(); }, this)) {
  stack_->addWidget(view_);
  setFocusProxy(view_);
}

void ListingPane::showText(std::string_view text) {
  if (editor_ != nullptr) {
    const bool hadFocus = editor_->hasFocus();
    setFocusProxy(view_);
    stack_->setCurrentWidget(view_);
    editor_->deleteLater();  // maybe in the middle of its own event
    editor_ = nullptr;
    if (hadFocus) view_->setFocus();
  }
  view_->clear();
  view_->append(text);
}

void ListingPane::append(std::string_view piece) {
  view_->append(piece);
}

QPlainTextEdit* ListingPane::editor() const {
  return editor_;
}

std::string_view ListingPane::report() const {
  return view_->lines().bytes();
}

void ListingPane::setReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  view_->setReadOnly(readOnly);
  if (editor_ != nullptr) editor_->setReadOnly(readOnly);
}

void ListingPane::unselectShowingTop() {
  if (editor_ != nullptr) {
    editor_->moveCursor(QTextCursor::End);
    editor_->verticalScrollBar()->setValue(0);
  } else {
    view_->select(view_->end(), view_->end());
    view_->verticalScrollBar()->setValue(0);
  }
}

QPlainTextEdit* ListingPane::becomeEditor() {
  if (editor_ != nullptr) return editor_;
  auto* editor = new ReportPane(this);
  editor->setLineWrapMode(QPlainTextEdit::NoWrap);
  // Both bars always: a bar that comes and goes resizes the view, and the pane then lays out
  // every paragraph of its document again, which costs a long report time and memory.
  editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  editor->setTabChangesFocus(true);  // Tab moves on, as everywhere in a dialog; Return stays
  editor->setTabStopDistance(view_->tabStopDistance());
  editor->setAccessibleName(accessibleName());
  showInPane(editor, report());
  QTextCursor cursor(editor->document());
  cursor.setPosition(static_cast<int>(view_->offsetOf(view_->anchor())));
  cursor.setPosition(static_cast<int>(view_->offsetOf(view_->caret())), QTextCursor::KeepAnchor);
  const bool hadFocus = view_->hasFocus();
  stack_->addWidget(editor);
  stack_->setCurrentWidget(editor);
  setFocusProxy(editor);
  editor->setTextCursor(cursor);
  // The editor counts the lines of a paragraph it has not laid out yet as one.
  const auto top = static_cast<int>(view_->offsetOf({view_->firstLine(), 0}));
  const QTextBlock topBlock = editor->document()->findBlock(top);
  editor->verticalScrollBar()->setValue(
      topBlock.firstLineNumber() +
      static_cast<int>(
          topBlock.text().left(top - topBlock.position()).count(QChar::LineSeparator)));
  editor->horizontalScrollBar()->setValue(view_->horizontalScrollBar()->value());
  if (hadFocus) editor->setFocus();
  editor_ = editor;
  emit editorMade(editor);
  return editor;
}

QByteArray paneText(const ListingPane* pane) {
  return pane->editor() != nullptr ? editorText(pane->editor()) : pane->view()->shownText();
}

}  // namespace tarvel
