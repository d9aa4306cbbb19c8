#pragma once

#include <QProxyStyle>

// The application's style with one change, for a line edit that can overwrite: while the
// Insert key has switched to overwriting, its caret is a block over the character the next
// one typed replaces, as wide as that character (or as an average one at the end), instead
// of the thin line of inserting.
class OverwriteCaretStyle : public QProxyStyle
{
    Q_OBJECT

public:
    explicit OverwriteCaretStyle(QObject *parent = nullptr);

    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
        const QWidget *widget = nullptr) const override;
};
