#pragma once

#include <QMessageBox>
#include <QString>

namespace tarvel {

// Every box the program shows: its text as plain text (a path may hold "<"), modal to its
// owner's window only, so that the help window stays usable.
void showMessageBox(QWidget* owner, QMessageBox::Icon icon, const QString& text,
                    const QString& caption = QStringLiteral("Tarvelinquistombrel"));

}  // namespace tarvel
