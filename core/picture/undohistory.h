#pragma once
// A document's history on the toolkit's undo stack: what the windows' Undo
// and Redo (and their menu entries) work on.
#include "graphic/documenthistory.h"

#include <QUndoStack>

namespace logo {

class LogoDocument;

class UndoStackHistory final : public DocumentHistory {
public:
    explicit UndoStackHistory(int limit);
    ~UndoStackHistory() override;

    void push(std::unique_ptr<HistoryStep> step) override;
    void clear() override;
    void setClean() override { m_stack.setClean(); }
    void resetClean() override { m_stack.resetClean(); }
    bool isClean() const override { return m_stack.isClean(); }
    void onMoved(std::function<void()> moved) override { m_moved = std::move(moved); }

    QUndoStack &stack() { return m_stack; }

private:
    class Command;
    QUndoStack m_stack;
    std::function<void()> m_moved;
    bool m_pushing = false;
};

// The undo stack of a document made where the picture library is installed
// (the windows, the test suites); null for a document without one.
QUndoStack *undoStackOf(LogoDocument &document);

} // namespace logo
