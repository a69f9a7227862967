#pragma once

#include "kelvane_export.h"

#include <QByteArray>
#include <QColor>

#include <functional>

/// Rewrites the colours of an SVG document through a colour map, so a host
/// can show a drawing in other colours (a night palette) without a second
/// set of files.
///
/// Mapped are the paint properties `fill`, `stroke`, `stop-color`,
/// `flood-color`, `lighting-color`, `solid-color`, `viewport-fill` and
/// `color`, given as attributes, inside `style` attributes or in `<style>`
/// sheets, as a colour name, `#rgb`, `#rrggbb` or `rgb(r, g, b)`. A value
/// that names no colour (`none`, `currentColor`, `url(#...)`, `inherit`)
/// stays as written. The map's result is written as `#rrggbb`; opacities stay
/// as written. Everything else of the document is written back unchanged in
/// content (the XML may be laid out differently).
class KELVANE_EXPORT SvgColourMap
{
public:
    /// Gives the colour to draw for a colour the document names.
    using Map = std::function<QColor(const QColor&)>;

    /// \a map is called once per colour written in the document.
    explicit SvgColourMap(Map map);

    /// \a svg with its colours mapped. A document that is not well-formed XML
    /// is returned unchanged, for the SVG renderer to refuse as before.
    QByteArray apply(const QByteArray& svg) const;

private:
    /// The value of the paint property \a name (any property: only paint
    /// properties are mapped) as mapped.
    QString mapProperty(const QString& name, const QString& value) const;
    /// A `style` attribute's or a style sheet's declarations with their paint
    /// properties mapped.
    QString mapDeclarations(const QString& text) const;

    Map map_;
};
