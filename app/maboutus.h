#pragma once

#include "mbasedialog.h"

// The About box: product name, version, website and support links, ownership notice and a
// single Close button (exec() returns 1 for Close, 0 for the title bar's close). Texts come
// from MConfig when the box is built. Value labels are named "LbAboutVersion",
// "LbAboutWebsite", "LbAboutSupport" and "LbAboutNotice". GUI thread only.
class MAboutUS : public MBaseDialog
{
    Q_OBJECT

public:
    explicit MAboutUS(QWidget *parent = nullptr);
    ~MAboutUS() override;

    // The rich text of a link label; text is escaped for HTML, a ' in href becomes %27.
    static QString linkHtml(const QString &href, const QString &text);
};
