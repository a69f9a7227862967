#include "example_translation.h"

#include "example_data.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

#include <memory>
#include <vector>

namespace exampletranslation {

namespace {

/// Where Qt's own .qm files are (QLibraryInfo::location is deprecated in Qt 6).
QString qtTranslationsFolder()
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    return QLibraryInfo::location(QLibraryInfo::TranslationsPath);
#else
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#endif
}

const char kQtCatalogue[] = "qtbase_";

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

std::unique_ptr<QTranslator> load(const QString& name, const QStringList& folders)
{
    auto translator = std::make_unique<QTranslator>();
    for (const QString& folder : folders) {
        if (translator->load(name, folder))
            return translator;
    }
    return nullptr;
}

bool isSource(const QString& language)
{
    return language == sourceLanguage() || language == QLatin1String("zh");
}

/// What this unit installed, owned by the application; a translator another
/// part of the program installed is never taken away.
std::vector<QPointer<QTranslator>>& installed()
{
    static std::vector<QPointer<QTranslator>> translators;
    return translators;
}

QString& current()
{
    static QString language = sourceLanguage();
    return language;
}

} // namespace

QString sourceLanguage()
{
    return QStringLiteral("zh_CN");
}

QCommandLineOption languageOption()
{
    return QCommandLineOption(QStringLiteral("lang"),
                              QCoreApplication::translate("ExampleTranslation", "界面语言(例如 en)。"),
                              QStringLiteral("language"));
}

bool installRequested(const QStringList& arguments, QString* error)
{
    const QString language = requestedLanguage(arguments);
    return switchTo(language.isEmpty() ? sourceLanguage() : language, error);
}

bool switchTo(const QString& language, QString* error)
{
    const QString name = isSource(language) ? sourceLanguage() : language;
    std::vector<std::unique_ptr<QTranslator>> translators;
    if (!isSource(name)) {
        // Both or neither: half a translation would leave a mixed window.
        for (const QString& catalogue : {QStringLiteral("kelvane_"), QStringLiteral("kelvane_station_")}) {
            std::unique_ptr<QTranslator> translator = load(catalogue + name, exampledata::translationFolders());
            if (!translator) {
                *error = QCoreApplication::translate("ExampleTranslation", "没有语言 %1 的翻译").arg(language);
                return false;
            }
            translators.push_back(std::move(translator));
        }
    }
    if (std::unique_ptr<QTranslator> qt = load(QLatin1String(kQtCatalogue) + name,
                                               {qtTranslationsFolder()}))
        translators.push_back(std::move(qt));
    // A translator leaves the application's list as it is deleted.
    for (const QPointer<QTranslator>& old : installed())
        delete old.data();
    installed().clear();
    for (std::unique_ptr<QTranslator>& translator : translators) {
        translator->setParent(QCoreApplication::instance());
        QCoreApplication::installTranslator(translator.get());
        installed().emplace_back(translator.release());
    }
    current() = name;
    return true;
}

QString currentLanguage()
{
    return current();
}

} // namespace exampletranslation
