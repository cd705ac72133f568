#include "picture/undohistory.h"

#include "graphic/logodocument.h"

namespace logo {

// A step on the stack. It is recorded after the document made the change:
// the first redo, which the stack runs on push, has nothing left to do.
class UndoStackHistory::Command final : public QUndoCommand {
public:
    explicit Command(std::unique_ptr<HistoryStep> step) : QUndoCommand(step->text()), m_step(std::move(step)) {}
    void redo() override
    {
        if (m_recorded)
            m_step->apply();
        m_recorded = true;
    }
    void undo() override { m_step->revert(); }
    int id() const override { return m_step->mergeKind() ? m_step->mergeKind() : -1; }
    bool mergeWith(const QUndoCommand *other) override
    {
        return m_step->absorb(*static_cast<const Command *>(other)->m_step);
    }

private:
    std::unique_ptr<HistoryStep> m_step;
    bool m_recorded = false;
};

UndoStackHistory::UndoStackHistory(int limit)
{
    m_stack.setUndoLimit(limit);
    QObject::connect(&m_stack, &QUndoStack::indexChanged, [this] {
        if (!m_pushing && m_moved)
            m_moved();
    });
}

UndoStackHistory::~UndoStackHistory()
{
    // The stack empties itself as it goes: that is no undo.
    m_moved = nullptr;
    QObject::disconnect(&m_stack, nullptr, nullptr, nullptr);
}

void UndoStackHistory::push(std::unique_ptr<HistoryStep> step)
{
    m_pushing = true;
    m_stack.push(new Command(std::move(step)));
    m_pushing = false;
}

void UndoStackHistory::clear()
{
    m_pushing = true;
    m_stack.clear();
    m_pushing = false;
}

QUndoStack *undoStackOf(LogoDocument &document)
{
    auto *history = dynamic_cast<UndoStackHistory *>(&document.history());
    return history ? &history->stack() : nullptr;
}

} // namespace logo
