#include "host_check.h"

#include "Tavimor.h"
#include "lua_facade.h"

#include <QCoreApplication>
#include <QTranslator>

#include <cstdio>
#include <stdexcept>

namespace {
int failed = 0;
}

void check(bool ok, const char* what)
{
    if (!ok) {
        ++failed;
        std::fprintf(stderr, "FAILED: %s\n", what);
    }
}

int failures()
{
    return failed;
}

void checkEnglishTranslation()
{
    QTranslator english;
    check(english.load(QStringLiteral("kelvane_en"), QStringLiteral(KELVANE_TRANSLATIONS_DIR)),
          "kelvane_en.qm loads from Kelvane_TRANSLATIONS_DIR");
    QCoreApplication::installTranslator(&english);
    QString message;
    try {
        ostrel::loadLuaConfig(QStringLiteral("/nonexistent/station.lua"));
    } catch (const std::runtime_error& e) {
        message = QString::fromUtf8(e.what());
    }
    check(message == QStringLiteral("Configuration file /nonexistent/station.lua does not exist"),
          "a missing Lua file is reported in English");
    QCoreApplication::removeTranslator(&english);
}

void checkTavimor()
{
    Tavimor client;
    check(client.InitSvr(QStringLiteral("not-an-address"), 1) == -1, "Tavimor refuses a non-numeric address");
}
