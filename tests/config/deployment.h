#pragma once

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QTemporaryDir>

#include <functional>

/// A throw-away deployment laid out like an installed station: config/ with
/// Lua files beside icons/ with pictures.
class Deployment
{
public:
    Deployment();

    /// Writes config/\a name and returns its path.
    QString config(const QString& name, const QByteArray& text) const;
    /// Path of config/\a name, written or not.
    QString configPath(const QString& name) const;
    /// Writes a plain square PNG icons/\a name of \a color.
    void icon(const QString& name, const QColor& color, int size) const;
    QString iconsPath() const;
    /// Removes icons/, so the configuration finds no icon folder.
    void removeIcons() const;

private:
    QTemporaryDir dir_;
};

/// The message of the std::runtime_error that \a load throws, or "" if it returns.
QString errorOf(const std::function<void()>& load);
