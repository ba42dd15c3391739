#pragma once

#include <QCoreApplication>
#include <QTranslator>

namespace tarvel {

// The texts Qt's own French translations leave in English, where a user sees them: the "Type"
// column of the save dialog's detailed view names folders, drives and kinds of files.
class FrenchTexts final : public QTranslator {
 public:
  using QTranslator::QTranslator;
  QString translate(const char* context, const char* sourceText, const char* disambiguation,
                    int n) const override;
  bool isEmpty() const override { return false; }
};

// Puts every text Qt shows in French, whatever the user's language: Qt's own translations, the
// texts above, and French number and date formats.
void installFrenchTexts(QCoreApplication& application);

}  // namespace tarvel
