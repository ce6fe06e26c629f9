#pragma once
#include <QHash>
#include <QObject>

#include <functional>

class QAction;

// Command ids with their handlers and enable rules. Every way of running a command
// (menu item, page-bar button, key, posted command) goes through Execute, which asks
// the enable rule at that moment and drops a disabled command without a word. The
// enabled look of the actions is refreshed whenever the event loop goes idle.
class CCommandManager : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void()>;
    using EnableRule = std::function<bool()>;

    explicit CCommandManager(QObject* parent = nullptr);

    // A command without a rule is enabled while it has a handler.
    void Add(int id, Handler handler, EnableRule rule = {});
    bool IsEnabled(int id) const;
    // Runs the command if it is enabled now; returns whether it ran.
    bool Execute(int id);
    // Runs the command later, from the event loop, if it is enabled then.
    void Post(int id);
    // The one action of a command, shared by menu, page bar and keys.
    QAction* Action(int id);
    // Brings every action's enabled state in line with its rule.
    void UpdateUi();

private:
    // A posted command waits while a blocking call runs.
    void RunPosted(int id);

    struct Command {
        Handler handler;
        EnableRule rule;
    };
    QHash<int, Command> m_commands;
    QHash<int, QAction*> m_actions;
};
