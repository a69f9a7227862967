#include "example_translation.h"

#include "example_data.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTranslator>

#include <memory>
#include <vector>

namespace exampletranslation {

namespace {

/// The language of --lang, read with a parser that knows no other option: the
/// other options are reported as unknown and ignored here.
QString requestedLanguage(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption language = languageOption();
    parser.addOption(language);
    parser.parse(arguments);
    return parser.value(language);
}

std::unique_ptr<QTranslator> load(const QString& name)
{
    auto translator = std::make_unique<QTranslator>();
    for (const QString& folder : exampledata::translationFolders()) {
        if (translator->load(name, folder))
            return translator;
    }
    return nullptr;
}

} // namespace

QCommandLineOption languageOption()
{
    return QCommandLineOption(QStringLiteral("lang"),
                              QCoreApplication::translate("ExampleTranslation", "界面语言(例如 en)。"),
                              QStringLiteral("language"));
}

bool installRequested(const QStringList& arguments, QString* error)
{
    const QString language = requestedLanguage(arguments);
    if (language.isEmpty())
        return true;
    // Both or neither: half a translation would leave a mixed window.
    std::vector<std::unique_ptr<QTranslator>> translators;
    for (const QString& catalogue : {QStringLiteral("kelvane_"), QStringLiteral("kelvane_station_")}) {
        std::unique_ptr<QTranslator> translator = load(catalogue + language);
        if (!translator) {
            *error = QCoreApplication::translate("ExampleTranslation", "没有语言 %1 的翻译").arg(language);
            return false;
        }
        translators.push_back(std::move(translator));
    }
    for (std::unique_ptr<QTranslator>& translator : translators) {
        translator->setParent(QCoreApplication::instance());
        QCoreApplication::installTranslator(translator.release());
    }
    return true;
}

} // namespace exampletranslation
