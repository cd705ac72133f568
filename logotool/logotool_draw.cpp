// logotool draw: the drawing tools on the command line. The picture is opened
// as convert opens it, the operations are drawn in order with the tools' own
// code, and the result is written as convert writes it.
#include "logotool.h"

#include "graphic/editing.h"
#include "graphic/savenames.h"
#include "graphic/shapes.h"

#include <algorithm>
#include <optional>

namespace logotool {

namespace {

const char *kDrawUsage =
    "usage: logotool draw IN OUT OP... [--mcc M --mnc N]\n"
    "Opens IN as convert does, draws the operations in order and writes OUT as\n"
    "convert does: NOL when its name contains \".nol\" (then the picture needs a\n"
    "network code: IN's own or --mcc and --mnc), a picture for .bmp or .png, else NGG.\n"
    "Columns X count from 0 at the left, rows Y from 0 at the top; a shape's two\n"
    "corners may come in either order.\n"
    "  clear                    every pixel white\n"
    "  line X1 Y1 X2 Y2         the pixels nearest the line, both ends included\n"
    "  rect X1 Y1 X2 Y2         the border of the box\n"
    "  fillrect X1 Y1 X2 Y2     the whole box\n"
    "  ellipse X1 Y1 X2 Y2      the ellipse touching the four sides of the box\n"
    "  fillellipse X1 Y1 X2 Y2  the ellipse and its inside\n"
    "  fill X Y                 the pixel and every pixel of its colour joined to it\n"
    "                           by a side (never through a corner)\n"
    "  invert                   black pixels white and white ones black\n"
    "  fliph                    mirror left to right\n"
    "  flipv                    mirror top to bottom\n"
    "  black, white             the colour of the shapes and fills after it (black\n"
    "                           at the start)\n"
    "An unknown operation or a missing number is refused (exit status 2) before IN\n"
    "is read, a coordinate outside IN's picture (exit status 1) before anything is\n"
    "drawn; either way nothing is written.";

struct Operation {
    enum class Kind { Clear, Shape, Fill, Invert, FlipHorizontal, FlipVertical, Black, White };
    Kind kind = Kind::Shape;
    logo::Shape shape = logo::Shape::Line;   // for Kind::Shape
    QList<int> numbers;                      // X Y pairs
    QString written;                         // as on the command line, for the messages
};

struct OperationWord {
    const char *word;
    Operation::Kind kind;
    const char *numbers;   // what follows the word, for the messages
};

const OperationWord kWords[] = {
    {"clear", Operation::Kind::Clear, ""},
    {"fill", Operation::Kind::Fill, "X Y"},
    {"invert", Operation::Kind::Invert, ""},
    {"fliph", Operation::Kind::FlipHorizontal, ""},
    {"flipv", Operation::Kind::FlipVertical, ""},
    {"black", Operation::Kind::Black, ""},
    {"white", Operation::Kind::White, ""},
};

QString operationList()
{
    QStringList names;
    for (logo::Shape s : {logo::Shape::Line, logo::Shape::Rectangle, logo::Shape::FilledRectangle,
                          logo::Shape::Ellipse, logo::Shape::FilledEllipse})
        names << logo::shapeName(s);
    for (const OperationWord &w : kWords)
        names << QLatin1String(w.word);
    std::sort(names.begin(), names.end());
    return names.join(QStringLiteral(", "));
}

// The operations of the words, in order; nullopt after printing what is wrong.
std::optional<QList<Operation>> parseOperations(const QStringList &words)
{
    QList<Operation> ops;
    for (qsizetype i = 0; i < words.size();) {
        const QString word = words[i++];
        Operation op;
        QString numbers;
        if (const auto shape = logo::shapeByName(word)) {
            op.shape = *shape;
            numbers = QStringLiteral("X1 Y1 X2 Y2");
        } else {
            const OperationWord *known = nullptr;
            for (const OperationWord &w : kWords)
                if (word == QLatin1String(w.word))
                    known = &w;
            if (!known) {
                err(QStringLiteral("error: unknown operation '%1' (the operations: %2)").arg(word, operationList()));
                return std::nullopt;
            }
            op.kind = known->kind;
            numbers = QLatin1String(known->numbers);
        }
        const qsizetype wanted = numbers.isEmpty() ? 0 : numbers.count(QLatin1Char(' ')) + 1;
        op.written = word;
        for (qsizetype n = 0; n < wanted; ++n) {
            bool ok = false;
            const int value = i < words.size() ? words[i].toInt(&ok) : 0;
            if (!ok) {
                err(QStringLiteral("error: %1 takes %2 whole numbers: %1 %3%4")
                        .arg(word)
                        .arg(wanted)
                        .arg(numbers,
                             i < words.size() ? QStringLiteral(" ('%1' is not a whole number)").arg(words[i])
                                              : QStringLiteral(" (%1 given)").arg(n)));
                return std::nullopt;
            }
            op.numbers << value;
            op.written += QLatin1Char(' ') + words[i++];
        }
        ops << op;
    }
    return ops;
}

// True when every coordinate lies inside the picture; else false after
// printing the first that doesn't.
bool insidePicture(const QList<Operation> &ops, const logo::LogoGrid &g)
{
    for (const Operation &op : ops)
        for (qsizetype n = 0; n < op.numbers.size(); ++n) {
            const bool column = n % 2 == 0;
            const int limit = column ? g.width() : g.height();
            const int value = op.numbers[n];
            if (value >= 0 && value < limit)
                continue;
            err(QStringLiteral("error: %1: %2 %3 is outside the %4 x %5 picture (%2 from 0 to %6)")
                    .arg(op.written, column ? QStringLiteral("X") : QStringLiteral("Y"))
                    .arg(value)
                    .arg(g.width())
                    .arg(g.height())
                    .arg(limit - 1));
            return false;
        }
    return true;
}

void apply(const QList<Operation> &ops, logo::LogoGrid &g)
{
    bool black = true;
    for (const Operation &op : ops) {
        const QPoint first = op.numbers.size() >= 2 ? QPoint(op.numbers[0], op.numbers[1]) : QPoint();
        switch (op.kind) {
        case Operation::Kind::Clear:
            g.clear();
            break;
        case Operation::Kind::Shape:
            logo::drawShape(g, op.shape, first, QPoint(op.numbers[2], op.numbers[3]), black);
            break;
        case Operation::Kind::Fill:
            logo::floodFill(g, first, black);
            break;
        case Operation::Kind::Invert:
            logo::invert(g);
            break;
        case Operation::Kind::FlipHorizontal:
            logo::flipHorizontal(g);
            break;
        case Operation::Kind::FlipVertical:
            logo::flipVertical(g);
            break;
        case Operation::Kind::Black:
        case Operation::Kind::White:
            black = op.kind == Operation::Kind::Black;
            break;
        }
    }
}

} // namespace

int drawCommand(const QStringList &argv)
{
    Args a(argv);
    if (a.has(QStringLiteral("--help")))
        return help(QString::fromLatin1(kDrawUsage));
    const QStringList bad = a.unknown({QStringLiteral("--mcc"), QStringLiteral("--mnc")});
    if (a.positional.size() < 3 || !bad.isEmpty())
        return err(QString::fromLatin1(kDrawUsage), 2);
    const QString in = a.positional[0], target = a.positional[1];
    // Refused before anything is read: a forgotten OUT would otherwise be an
    // operation taken for a file name.
    if (logo::savedTypeOf(target) == logo::SavedType::None)
        return err(QStringLiteral("error: OUT, the second word, must name a .ngg, .nol, .bmp or .png file: %1").arg(target), 2);
    const auto ops = parseOperations(a.positional.mid(2));
    if (!ops)
        return 2;

    Session s(logo::ProgramProfile::quillet());
    if (!openInput(s, in))
        return 1;
    if (!networkOption(a, *s.doc))
        return err(QStringLiteral("error: --mcc and --mnc take decimal digits"), 2);
    if (!insidePicture(*ops, s.doc->grid()))
        return 1;
    apply(*ops, s.doc->grid());

    QString wrote;
    if (writeOutput(s, target, &wrote) != 0)
        return 1;
    out(QStringLiteral("wrote %1").arg(wrote));
    return 0;
}

} // namespace logotool
