#include "deployment.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <stdexcept>

Deployment::Deployment()
{
    QDir root(dir_.path());
    EXPECT_TRUE(root.mkdir("config"));
    EXPECT_TRUE(root.mkdir("icons"));
}

QString Deployment::config(const QString& name, const QByteArray& text) const
{
    const QString path = configPath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return path;
}

QString Deployment::configPath(const QString& name) const
{
    return dir_.filePath("config/" + name);
}

void Deployment::icon(const QString& name, const QColor& color, int size) const
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(color);
    EXPECT_TRUE(image.save(dir_.filePath("icons/" + name), "PNG"));
}

QString Deployment::iconsPath() const
{
    return QDir(dir_.filePath("icons")).canonicalPath();
}

void Deployment::removeIcons() const
{
    EXPECT_TRUE(QDir(dir_.filePath("icons")).removeRecursively());
}

QString errorOf(const std::function<void()>& load)
{
    try {
        load();
    } catch (const std::runtime_error& error) {
        return QString::fromUtf8(error.what());
    }
    return QString();
}
