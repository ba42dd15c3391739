#include "app/FrenchTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <cstring>

namespace tarvel {

namespace {

struct Text {
  const char* context;
  const char* source;
  const char* french;
};

constexpr Text kTexts[] = {
    {"QAbstractFileIconProvider", "Drive", "Lecteur"},
    {"QAbstractFileIconProvider", "Folder", "Dossier"},
    {"QAbstractFileIconProvider", "File", "Fichier"},
    {"QAbstractFileIconProvider", "%1 File", "Fichier %1"},
    {"QAbstractFileIconProvider", "Shortcut", "Raccourci"},
    {"QAbstractFileIconProvider", "Alias", "Alias"},
    {"QFileSystemModel",
     "<b>The name \"%1\" cannot be used.</b><p>Try using another name, with fewer characters or "
     "no punctuation marks.",
     "<b>Le nom « %1 » ne peut pas être utilisé.</b><p>Essayez un autre nom, plus court ou sans "
     "ponctuation."},
};

}  // namespace

QString FrenchTexts::translate(const char* context, const char* sourceText,
                               const char* /*disambiguation*/, int /*n*/) const {
  if (context == nullptr || sourceText == nullptr) return {};
  for (const Text& text : kTexts) {
    if (std::strcmp(text.context, context) == 0 && std::strcmp(text.source, sourceText) == 0) {
      return QString::fromUtf8(text.french);
    }
  }
  return {};
}

void installFrenchTexts(QCoreApplication& application) {
  const QLocale french(QLocale::French, QLocale::France);
  QLocale::setDefault(french);
  // Qt's own translations ship apart from Qt (Debian: qt6-translations-l10n); without them the
  // program still runs, with Qt's English texts.
  auto* qtTexts = new QTranslator(&application);
  if (qtTexts->load(french, QStringLiteral("qtbase"), QStringLiteral("_"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(qtTexts);
  }
  QCoreApplication::installTranslator(new FrenchTexts(&application));
}

}  // namespace tarvel
