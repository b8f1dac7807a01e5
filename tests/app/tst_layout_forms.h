#pragma once
// The forms the layout check opens, each brought to a state a user sees.
#include "support/FakeNet.h"

#include <QList>
#include <functional>
#include <memory>

class QWidget;

namespace zorva::test {

class AppFixture;
class ScriptedUi;

struct LayoutCase {
    const char* name;
    // Shown in the main window's area (sized once, when it opens) or as a window of its own.
    bool inMainWindow;
    // Builds and loads the form with the data of addLayoutData.
    std::function<std::unique_ptr<QWidget>(ScriptedUi&)> open;
    // Optional: what a user does once the form is on screen (choose, search, show a row).
    std::function<void(QWidget*, ScriptedUi&)> afterShow = {};
};

// One line per form of the program; a new form gets its line here.
const QList<LayoutCase>& layoutCases();

// The plan, users, units, records and the assignment log a site has after some use, with
// names as long as users give them.
void addLayoutData(AppFixture& app);

// What the forms are opened with: a user logged in, the data above, and a network that
// answers no one, so that no form waits on the real one. Held for the length of a test.
struct LayoutSetting {
    FakePinger pinger;
    FakeLookup names;
    explicit LayoutSetting(AppFixture& app);
};

} // namespace zorva::test
