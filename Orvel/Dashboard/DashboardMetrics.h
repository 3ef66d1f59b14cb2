#pragma once

#include "Skin.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

// Every size of the dashboard that differs between the skins, and the fixed
// ones beside them, so the views only bind and a skin switch moves them all.
class DashboardMetrics : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString skin READ skinName WRITE setSkinName NOTIFY skinChanged)

    // Sidebar.
    Q_PROPERTY(int sidebarWidth MEMBER sidebarWidth CONSTANT)
    Q_PROPERTY(int sidebarLeading MEMBER sidebarLeading CONSTANT)
    Q_PROPERTY(int sidebarTrailing MEMBER sidebarTrailing CONSTANT)
    Q_PROPERTY(int sidebarTop MEMBER sidebarTop CONSTANT)
    Q_PROPERTY(int sidebarBottom MEMBER sidebarBottom CONSTANT)
    Q_PROPERTY(int brandSpacing MEMBER brandSpacing CONSTANT)
    Q_PROPERTY(int brandMark MEMBER brandMark CONSTANT)
    Q_PROPERTY(int brandTextSize MEMBER brandTextSize CONSTANT)
    Q_PROPERTY(int sectionListTop MEMBER sectionListTop CONSTANT)
    Q_PROPERTY(int sectionSpacing MEMBER sectionSpacing CONSTANT)
    Q_PROPERTY(int rowTextSize MEMBER rowTextSize CONSTANT)
    Q_PROPERTY(int rowPadding MEMBER rowPadding CONSTANT)
    Q_PROPERTY(int sidebarSpacer MEMBER sidebarSpacer CONSTANT)
    Q_PROPERTY(int captionSize MEMBER captionSize CONSTANT)
    Q_PROPERTY(int versionTop MEMBER versionTop CONSTANT)

    // Detail column.
    Q_PROPERTY(int scrollTop MEMBER scrollTop CONSTANT)
    Q_PROPERTY(int detailLeading MEMBER detailLeading CONSTANT)
    Q_PROPERTY(int detailBottom MEMBER detailBottom CONSTANT)
    Q_PROPERTY(int columnLimit MEMBER columnLimit CONSTANT)
    Q_PROPERTY(int pageSpacing READ pageSpacing NOTIFY skinChanged)
    Q_PROPERTY(int detailTrailing READ detailTrailing NOTIFY skinChanged)
    Q_PROPERTY(int detailTop READ detailTop NOTIFY skinChanged)

    // Setting texts and the page header.
    Q_PROPERTY(int settingTitleSize READ settingTitleSize NOTIFY skinChanged)
    Q_PROPERTY(int settingDetailSize READ settingDetailSize NOTIFY skinChanged)
    Q_PROPERTY(bool switchCaptions READ switchCaptions NOTIFY skinChanged)
    Q_PROPERTY(int headerTitleSize READ headerTitleSize NOTIFY skinChanged)
    Q_PROPERTY(int headerSubtitleSize READ headerSubtitleSize NOTIFY skinChanged)
    Q_PROPERTY(int headerSpacing READ headerSpacing NOTIFY skinChanged)

    // Ruled lists: classico boxes them in a padded card, rivista rules them open.
    Q_PROPERTY(int shortcutListPadding READ shortcutListPadding NOTIFY skinChanged)
    Q_PROPERTY(int shortcutRowPadding READ shortcutRowPadding NOTIFY skinChanged)
    Q_PROPERTY(int preferencesCardPadding READ preferencesCardPadding NOTIFY skinChanged)
    // Rivista rules every row of a list; classico's card needs none under its last.
    Q_PROPERTY(bool ruleUnderLastRow READ ruleUnderLastRow NOTIFY skinChanged)

public:
    static constexpr int sidebarWidth = 300;
    static constexpr int sidebarLeading = 40;
    static constexpr int sidebarTrailing = 24;
    static constexpr int sidebarTop = 76;
    static constexpr int sidebarBottom = 40;
    static constexpr int brandSpacing = 9;
    static constexpr int brandMark = 22;
    static constexpr int brandTextSize = 14;
    static constexpr int sectionListTop = 40;
    static constexpr int sectionSpacing = 2;
    static constexpr int rowTextSize = 30;
    static constexpr int rowPadding = 6;
    static constexpr int sidebarSpacer = 20;
    static constexpr int captionSize = 12;
    static constexpr int versionTop = 4;
    static constexpr int scrollTop = 28;
    static constexpr int detailLeading = 24;
    static constexpr int detailBottom = 44;
    static constexpr int columnLimit = 880;
    static constexpr double unselectedOpacity = 0.35;

    explicit DashboardMetrics(QObject *parent = nullptr);

    Skin skin() const { return m_skin; }
    void setSkin(Skin skin);

    int pageSpacing() const { return rivista() ? 26 : 22; }
    int detailTrailing() const { return rivista() ? 56 : 40; }
    int detailTop() const { return rivista() ? 34 : 26; }
    int settingTitleSize() const { return rivista() ? 15 : 13; }
    int settingDetailSize() const { return rivista() ? 13 : 12; }
    bool switchCaptions() const { return rivista(); }
    int headerTitleSize() const { return rivista() ? 44 : 28; }
    int headerSubtitleSize() const { return rivista() ? 15 : 13; }
    int headerSpacing() const { return rivista() ? 10 : 6; }
    int shortcutListPadding() const { return rivista() ? 0 : 15; }
    int shortcutRowPadding() const { return rivista() ? 2 : 8; }
    int preferencesCardPadding() const { return rivista() ? 0 : 20; }
    bool ruleUnderLastRow() const { return rivista(); }

    // The padded page column in a detail pane of `available` width: it
    // shrinks with the window and never grows past the limit.
    Q_INVOKABLE static double columnWidth(double available);
    // A sidebar row's opacity.
    Q_INVOKABLE static double rowOpacity(bool selected) { return selected ? 1.0 : unselectedOpacity; }

signals:
    void skinChanged();

private:
    bool rivista() const { return m_skin == Skin::rivista; }
    QString skinName() const { return toRawValue(m_skin); }
    void setSkinName(const QString &name);

    Skin m_skin = Skin::classico;
};
