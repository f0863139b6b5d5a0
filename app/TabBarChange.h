#pragma once

#include <QSignalBlocker>
#include <QStringList>
#include <QTabBar>
#include <algorithm>

// Changes a tab bar's tabs in one go. For each tab added or removed, Qt lays
// out every tab again, measuring each shown one: 8,000 tabs took 26 s. Hidden
// tabs are not measured, so tabs change hidden and are shown, and measured,
// once at the end. Selecting a tab from here is no user's choice: no signal
// goes out.
class TTabBarChange {
public:
    explicit TTabBarChange(QTabBar& Bar)
        : bar(Bar), quiet(&Bar), wasHidden(Bar.isHidden()), hadFocus(Bar.hasFocus()) {
        bar.hide();
    }
    ~TTabBarChange() {
        for (int i = 0; i < bar.count(); ++i)
            bar.setTabVisible(i, true);
        bar.setVisible(!wasHidden);
        if (hadFocus)
            bar.setFocus();
    }
    TTabBarChange(const TTabBarChange&) = delete;
    TTabBarChange& operator=(const TTabBarChange&) = delete;

    void RemoveAll() {
        HideAll();
        while (bar.count() > 0)
            bar.removeTab(bar.count() - 1);
    }
    void Add(const QString& Text) { bar.setTabVisible(bar.addTab(Text), false); }
    // Qt 6.4 walks every tab several times for each tab added or removed, so
    // only the difference in count is added or removed. Tabs kept are
    // retitled, which costs no layout while the bar is hidden.
    void SetTexts(const QStringList& Texts) {
        HideAll();
        const int kept = std::min(bar.count(), static_cast<int>(Texts.size()));
        for (int i = 0; i < kept; ++i) {
            if (bar.tabText(i) != Texts[i])
                bar.setTabText(i, Texts[i]);
        }
        while (bar.count() > kept)
            bar.removeTab(bar.count() - 1);
        for (int i = kept; i < Texts.size(); ++i)
            Add(Texts[i]);
    }

private:
    void HideAll() {
        // The current tab last: hiding it selects another, laying out the rest.
        const int current = bar.currentIndex();
        for (int i = bar.count() - 1; i >= 0; --i) {
            if (i != current)
                bar.setTabVisible(i, false);
        }
        if (current >= 0)
            bar.setTabVisible(current, false);
    }

    QTabBar& bar;
    const QSignalBlocker quiet;
    const bool wasHidden;
    const bool hadFocus;
};
