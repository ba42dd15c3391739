#pragma once

#include <QByteArray>
#include <QPointer>
#include <QWidget>
#include <string_view>

class QAbstractScrollArea;
class QPlainTextEdit;
class QStackedLayout;

namespace tarvel {

class ReportView;

// The listing pane: a report shown from its own bytes (ReportView), kept once, until the user
// edits it; the first edit makes it the editable text it always was (ReportPane), filled from
// those bytes, where the caret and the selection were, and hands it that edit. The bytes stay:
// they are the report a save writes, whatever the edits. New text, a listing's or a message,
// goes back to the view.
class ListingPane : public QWidget {
  Q_OBJECT

 public:
  explicit ListingPane(QWidget* parent = nullptr);

  // Shows `text` in place of what the pane held, from its first line.
  void showText(std::string_view text);
  void clear() { showText({}); }
  // Adds to what the pane shows. Throws std::bad_alloc.
  void append(std::string_view piece);
  // The bytes the pane was given, as they were given, whatever the user's edits.
  std::string_view report() const;

  // A read-only pane takes no edit: it stays a view.
  void setReadOnly(bool readOnly);
  bool isReadOnly() const { return readOnly_; }
  // Nothing selected, the caret at the end, the first line in view.
  void unselectShowingTop();

  ReportView* view() const { return view_; }
  // The editor the pane has become, or nothing while it is a view.
  QPlainTextEdit* editor() const;

 signals:
  void editorMade(QAbstractScrollArea* editor);

 private:
  QPlainTextEdit* becomeEditor();

  QStackedLayout* stack_;
  ReportView* view_;
  QPointer<QPlainTextEdit> editor_;
  bool readOnly_ = false;
};

// The pane's text exactly as it shows it, the user's edits included, in UTF-8 with LF between
// lines.
QByteArray paneText(const ListingPane* pane);

}  // namespace tarvel
