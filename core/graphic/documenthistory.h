#pragma once
// The history of a document's changes, as the document records them. The
// windows keep it on the toolkit's undo stack (picture/undohistory.h), which
// undoes and redoes; a document without one (logotool's) keeps only whether
// it is at its saved state.
#include <QString>
#include <functional>
#include <memory>

namespace logo {

// One change, made by the document before it is recorded.
class HistoryStep {
public:
    explicit HistoryStep(const QString &text) : m_text(text) {}
    virtual ~HistoryStep() = default;
    QString text() const { return m_text; }
    // Does the change again, and takes it back.
    virtual void apply() = 0;
    virtual void revert() = 0;
    // Offered the step recorded right after this one: true when this step
    // took it in (the cells of one stroke of the mouse are one step).
    virtual bool absorb(const HistoryStep &next)
    {
        Q_UNUSED(next);
        return false;
    }
    // Steps that may absorb one another share a kind other than 0.
    virtual int mergeKind() const { return 0; }

private:
    QString m_text;
};

class DocumentHistory {
public:
    virtual ~DocumentHistory() = default;
    // Records a change already made.
    virtual void push(std::unique_ptr<HistoryStep> step) = 0;
    // Forgets every step; the present step becomes the saved one.
    virtual void clear() = 0;
    // The present step is the saved one; no step is.
    virtual void setClean() = 0;
    virtual void resetClean() = 0;
    virtual bool isClean() const = 0;
    // Called after an undo or redo moved the history (not after push or
    // clear); null to stop.
    virtual void onMoved(std::function<void()> moved) = 0;
};

// The history of a document that can't undo: the saved state only.
class SavedStateOnly final : public DocumentHistory {
public:
    void push(std::unique_ptr<HistoryStep>) override { m_clean = false; }
    void clear() override { m_clean = true; }
    void setClean() override { m_clean = true; }
    void resetClean() override { m_clean = false; }
    bool isClean() const override { return m_clean; }
    void onMoved(std::function<void()>) override {}

private:
    bool m_clean = true;
};

} // namespace logo
