// The editing commands of the document and the steps of its history: each
// change is made at once and then recorded as a step that can undo and redo it.
#include "graphic/logodocument.h"

#include "desktop/waitcursor.h"
#include "graphic/editing.h"

namespace logo {

// A step of this document, recorded after the document made the change.
class LogoDocument::Step : public HistoryStep {
public:
    Step(LogoDocument &doc, const QString &text) : HistoryStep(text), m_doc(doc) {}

protected:
    LogoDocument &m_doc;
};

// Cells painted in one stroke of the mouse.
class LogoDocument::PaintStep : public Step {
public:
    struct Cell {
        int c, r;
        qint16 before, after;
    };
    PaintStep(LogoDocument &doc, int stroke, Cell cell) : Step(doc, QStringLiteral("Paint")), m_stroke(stroke)
    {
        m_cells << cell;
    }
    int mergeKind() const override { return 1; }
    // The history offers each new paint to the step on top; the cells of the
    // same stroke join it.
    bool absorb(const HistoryStep &other) override
    {
        const auto &next = static_cast<const PaintStep &>(other);
        if (next.m_stroke != m_stroke)
            return false;
        m_cells += next.m_cells;
        return true;
    }

    void apply() override
    {
        for (const Cell &cell : m_cells)
            set(cell, cell.after);
    }
    void revert() override
    {
        for (auto it = m_cells.crbegin(); it != m_cells.crend(); ++it)
            set(*it, it->before);
    }

private:
    void set(const Cell &cell, qint16 value)
    {
        m_doc.m_grid.setCell(cell.c, cell.r, value);
        emit m_doc.cellChanged(cell.c, cell.r);
    }
    int m_stroke;
    QList<Cell> m_cells;
};

// A move, flip or invert: the tool again, or the one that takes it back.
class LogoDocument::ToolStep : public Step {
public:
    ToolStep(LogoDocument &doc, const QString &text, Transform forward, Transform backward, bool redrawPreview)
        : Step(doc, text), m_forward(forward), m_backward(backward), m_redrawPreview(redrawPreview)
    {
    }

protected:
    void apply() override { run(m_forward); }
    void revert() override { run(m_backward); }

private:
    void run(Transform t)
    {
        t(m_doc.m_grid);
        emit m_doc.pictureChanged(m_redrawPreview);
    }
    Transform m_forward, m_backward;
    bool m_redrawPreview;
};

// New, a read, an import or a text logo: the whole picture with its size and
// network code, before and after. The document's name is the file of the last
// Open, Save or Save As and stays; only a name that no file carries (a
// pseudo-name: "Untitled", Brisvane's "Imported") comes back, or any name for
// a step that gave the picture a name of its own (relabels), and only while
// the document still has the name the step left.
class LogoDocument::ReplaceStep : public Step {
public:
    ReplaceStep(LogoDocument &doc, const QString &text, const Snapshot &before, const Snapshot &after,
                bool relabels)
        : Step(doc, text), m_before(before), m_after(after), m_relabels(relabels)
    {
    }

protected:
    void apply() override
    {
        rename(m_before, m_after);
        m_doc.restore(m_after);
    }
    void revert() override
    {
        rename(m_after, m_before);
        m_doc.restore(m_before);
    }

private:
    void rename(const Snapshot &from, const Snapshot &to)
    {
        if (m_doc.m_currentFile != from.file || !(m_relabels || m_doc.m_profile.isPseudoName(to.file)))
            return;
        m_doc.m_currentFile = to.file;
        m_doc.m_nameFromRead = to.nameFromRead;
    }
    Snapshot m_before, m_after;
    bool m_relabels;
};

// ---------------------------------------------------------------- history

LogoDocument::Snapshot LogoDocument::snapshot() const
{
    return {m_grid, m_mcc, m_mnc, m_currentFile, m_nameFromRead};
}

void LogoDocument::restore(const Snapshot &s)
{
    // The name is the step's to decide: the file of the last Open, Save or
    // Save As stays, and Save goes on writing there (the modified mark tells
    // whether the picture is the one saved).
    m_grid = s.grid;
    m_mcc = s.mcc;
    m_mnc = s.mnc;
    emit networkCodeChanged();
    emit pictureChanged(true);
    afterRestore();
}

void LogoDocument::record(std::unique_ptr<HistoryStep> step)
{
    m_questionAnswered = false;
    m_history->push(std::move(step));
}

void LogoDocument::clearHistory()
{
    m_history->clear();
    if (m_state != State::Clean)
        m_history->resetClean();
}

void LogoDocument::recordReplacement(const Snapshot &before, const QString &text, bool load)
{
    if (load && m_questionAnswered) {
        // The user has just saved or given up the picture: what was done to
        // it is over, and the history starts afresh from here.
        m_questionAnswered = false;
        clearHistory();
        return;
    }
    const Snapshot after = snapshot();
    if (after != before)
        record(std::make_unique<ReplaceStep>(*this, text, before, after, false));
    // A read or New leaves the document clean: this step is the saved state.
    if (m_state == State::Clean)
        m_history->setClean();
}

void LogoDocument::recordRelabel(const Snapshot &before, const QString &text)
{
    if (m_grid == before.grid)
        return;
    record(std::make_unique<ReplaceStep>(*this, text, before, snapshot(), true));
    setTitle(true);
}

// ---------------------------------------------------------------- editing

void LogoDocument::beginStroke()
{
    ++m_stroke;
    m_strokeOpen = true;
}

void LogoDocument::endStroke()
{
    m_strokeOpen = false;
}

void LogoDocument::paintCell(int c, int r, bool on)
{
    const qint16 value = on ? 1 : 0;
    if (!m_grid.inside(c, r) || m_grid.cell(c, r) == value)
        return;
    if (m_state == State::Clean)
        setTitle(false);
    const qint16 before = m_grid.cell(c, r);
    m_grid.setCell(c, r, value);
    emit cellChanged(c, r);
    record(std::make_unique<PaintStep>(*this, m_strokeOpen ? m_stroke : ++m_stroke, PaintStep::Cell{c, r, before, value}));
}

void LogoDocument::afterTool(bool redrawPreview)
{
    setTitle(false);
    emit pictureChanged(redrawPreview);
}

void LogoDocument::applyTool(const QString &text, Transform forward, Transform backward, bool redrawPreview)
{
    forward(m_grid);
    afterTool(redrawPreview);
    record(std::make_unique<ToolStep>(*this, text, forward, backward, redrawPreview));
}

void LogoDocument::moveUp() { applyTool(QStringLiteral("Move Up"), &logo::moveUp, &logo::moveDown, false); }
void LogoDocument::moveDown() { applyTool(QStringLiteral("Move Down"), &logo::moveDown, &logo::moveUp, false); }
void LogoDocument::moveLeft() { applyTool(QStringLiteral("Move Left"), &logo::moveLeft, &logo::moveRight, false); }
void LogoDocument::moveRight() { applyTool(QStringLiteral("Move Right"), &logo::moveRight, &logo::moveLeft, false); }

void LogoDocument::flipHorizontal()
{
    WaitCursor wait;
    applyTool(QStringLiteral("Flip Horizontal"), &logo::flipHorizontal, &logo::flipHorizontal, false);
}

void LogoDocument::flipVertical()
{
    WaitCursor wait;
    applyTool(QStringLiteral("Flip Vertical"), &logo::flipVertical, &logo::flipVertical, false);
}

void LogoDocument::invert()
{
    WaitCursor wait;
    applyTool(QStringLiteral("Invert"), &logo::invert, &logo::invert, true);
}

TextLogo LogoDocument::insertText(const QStringList &lines, TextFont font)
{
    TextLogo text = renderTextLogo(lines, font);
    if (!text.ok || text.grid == m_grid)
        return text;
    const Snapshot before = snapshot();
    m_grid = text.grid;
    afterTool(true);
    recordReplacement(before, QStringLiteral("Insert Text"), false);
    return text;
}

} // namespace logo
