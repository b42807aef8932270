#include "core/builder/expression.h"

#include <array>
#include <cmath>
#include <numeric>
#include <QStringList>
#include <utility>

namespace vendrak {

namespace {

struct FnName {
    const char* name;
    ExprFn fn;
    int arity = 1;
};

// The first name of a function is the one messages use; the others are
// the spellings users bring from elsewhere.
constexpr std::array<FnName, 34> kFunctions{{
    {"sin", ExprFn::Sin}, {"cos", ExprFn::Cos}, {"tan", ExprFn::Tan}, {"cot", ExprFn::Cot}, {"sec", ExprFn::Sec},
    {"csc", ExprFn::Csc}, {"asin", ExprFn::Asin}, {"acos", ExprFn::Acos}, {"atan", ExprFn::Atan},
    {"arcsin", ExprFn::Asin}, {"arccos", ExprFn::Acos}, {"arctan", ExprFn::Atan}, {"sinh", ExprFn::Sinh},
    {"cosh", ExprFn::Cosh}, {"tanh", ExprFn::Tanh}, {"asinh", ExprFn::Asinh}, {"acosh", ExprFn::Acosh},
    {"atanh", ExprFn::Atanh}, {"exp", ExprFn::Exp}, {"log", ExprFn::Log}, {"ln", ExprFn::Log},
    {"log10", ExprFn::Log10}, {"sqrt", ExprFn::Sqrt}, {"cbrt", ExprFn::Cbrt}, {"abs", ExprFn::Abs},
    {"sign", ExprFn::Sign}, {"heaviside", ExprFn::Heaviside}, {"floor", ExprFn::Floor}, {"mod", ExprFn::Mod, 2},
    {"min", ExprFn::Min, 2}, {"max", ExprFn::Max, 2}, {"erf", ExprFn::Erf}, {"gamma", ExprFn::Gamma},
    {"lgamma", ExprFn::Lgamma},
}};

using NodePtr = std::unique_ptr<ExprNode>;

NodePtr makeNode(ExprOp op, int begin, int end)
{
    auto n = std::make_unique<ExprNode>();
    n->op = op;
    n->begin = begin;
    n->end = end;
    n->hasX = op == ExprOp::X;
    return n;
}

NodePtr makeBinary(ExprOp op, NodePtr a, NodePtr b)
{
    auto n = makeNode(op, a->begin, b->end);
    n->hasX = a->hasX || b->hasX;
    n->a = std::move(a);
    n->b = std::move(b);
    return n;
}

NodePtr makeUnary(ExprOp op, int begin, int end, NodePtr a)
{
    auto n = makeNode(op, begin, end);
    n->hasX = a->hasX;
    n->a = std::move(a);
    return n;
}

bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// Recursive descent; each level owns one precedence so that ^ binds tighter
// than a sign in front (-x^2 is -(x^2)) and groups to the right. Sums and
// products are loops; only parentheses, calls, signs and powers descend, and
// those only kMaxNesting deep.
class Parser {
public:
    explicit Parser(const QString& t) : t_(t) {}

    NodePtr parseAll()
    {
        skipBlanks();
        if (pos_ >= t_.size())
            throw Error::build(QStringLiteral("the expression is empty"));
        NodePtr n = sum();
        skipBlanks();
        if (pos_ < t_.size())
            fail(t_[pos_] == u')' ? QStringLiteral("expected an operator or the end of the expression, not ')'")
                                  : QStringLiteral("expected an operator or the end of the expression"));
        return n;
    }

private:
    [[noreturn]] void fail(const QString& what) const
    {
        // A digit of another script (a full-width 1, say) is what stopped the
        // parse wherever it stands; say so rather than what was expected.
        if (pos_ < t_.size()) {
            const char32_t c = codeAt(pos_);
            if (QChar::isDigit(c) && !(c >= U'0' && c <= U'9'))
                failAt(pos_, QStringLiteral("'%1' is not a character Vendrak reads as a number").arg(QString::fromUcs4(&c, 1)));
        }
        failAt(pos_, what);
    }

    [[noreturn]] static void failAt(qsizetype pos, const QString& what)
    {
        throw Error::build(QStringLiteral("column %1: %2").arg(pos + 1).arg(what));
    }

    // The whole character at p, a surrogate pair included.
    char32_t codeAt(qsizetype p) const
    {
        if (t_[p].isHighSurrogate() && p + 1 < t_.size() && t_[p + 1].isLowSurrogate())
            return QChar::surrogateToUcs4(t_[p], t_[p + 1]);
        return t_[p].unicode();
    }

    // One level of nesting, from the character at `at`, for as long as it lives.
    class Nest {
    public:
        Nest(Parser& p, qsizetype at) : p_(p)
        {
            if (++p_.depth_ > kMaxNesting)
                failAt(at, QStringLiteral("nested more than %1 deep").arg(kMaxNesting));
        }
        ~Nest() { --p_.depth_; }
        Nest(const Nest&) = delete;
        Nest& operator=(const Nest&) = delete;

    private:
        Parser& p_;
    };

    void skipBlanks()
    {
        while (pos_ < t_.size() && t_[pos_].isSpace())
            ++pos_;
    }

    bool accept(QChar c)
    {
        skipBlanks();
        if (pos_ < t_.size() && t_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    NodePtr sum()
    {
        NodePtr n = product();
        for (;;) {
            if (accept(u'+'))
                n = makeBinary(ExprOp::Add, std::move(n), product());
            else if (accept(u'-'))
                n = makeBinary(ExprOp::Sub, std::move(n), product());
            else
                return n;
        }
    }

    NodePtr product()
    {
        NodePtr n = signedFactor();
        for (;;) {
            if (accept(u'*'))
                n = makeBinary(ExprOp::Mul, std::move(n), signedFactor());
            else if (accept(u'/'))
                n = makeBinary(ExprOp::Div, std::move(n), signedFactor());
            else if (pos_ < t_.size() && (t_[pos_].isLetter() || t_[pos_] == u'('))
                n = makeBinary(ExprOp::Mul, std::move(n), power()); // 2x, 2 sin(x), (x+1)(x-1)
            else
                return n;
        }
    }

    NodePtr signedFactor()
    {
        skipBlanks();
        const int start = static_cast<int>(pos_);
        if (accept(u'-')) {
            Nest nest(*this, start);
            NodePtr inner = signedFactor();
            const int end = inner->end;
            return makeUnary(ExprOp::Neg, start, end, std::move(inner));
        }
        if (accept(u'+')) {
            Nest nest(*this, start);
            return signedFactor();
        }
        return power();
    }

    NodePtr power()
    {
        NodePtr base = primary();
        skipBlanks();
        const qsizetype at = pos_;
        if (!accept(u'^'))
            return base;
        Nest nest(*this, at);
        return makeBinary(ExprOp::Pow, std::move(base), signedFactor());
    }

    NodePtr primary()
    {
        skipBlanks();
        if (pos_ >= t_.size())
            fail(QStringLiteral("expected a number, x, a name or '('"));
        const QChar c = t_[pos_];
        const int start = static_cast<int>(pos_);
        if (c == u'(') {
            Nest nest(*this, pos_);
            ++pos_;
            NodePtr inner = sum();
            if (!accept(u')'))
                fail(QStringLiteral("expected ')'"));
            inner->begin = start;
            inner->end = static_cast<int>(pos_);
            return inner;
        }
        if (isAsciiDigit(c) || c == u'.')
            return number();
        if (c.isLetter())
            return name();
        const char32_t whole = codeAt(pos_);
        fail(QStringLiteral("expected a number, x, a name or '(', not '%1'").arg(QString::fromUcs4(&whole, 1)));
    }

    NodePtr number()
    {
        const qsizetype start = pos_;
        auto digits = [this] {
            qsizetype n = 0;
            while (pos_ < t_.size() && isAsciiDigit(t_[pos_])) {
                ++pos_;
                ++n;
            }
            return n;
        };
        qsizetype count = digits();
        if (pos_ < t_.size() && t_[pos_] == u'.') {
            ++pos_;
            count += digits();
        }
        if (count == 0)
            fail(QStringLiteral("expected digits"));
        // An exponent only when digits follow; otherwise "e" is left for the
        // name reader.
        if (pos_ < t_.size() && (t_[pos_] == u'e' || t_[pos_] == u'E')) {
            qsizetype p = pos_ + 1;
            if (p < t_.size() && (t_[p] == u'+' || t_[p] == u'-'))
                ++p;
            if (p < t_.size() && isAsciiDigit(t_[p])) {
                pos_ = p;
                digits();
            }
        }
        auto n = makeNode(ExprOp::Number, static_cast<int>(start), static_cast<int>(pos_));
        n->literal = t_.mid(start, pos_ - start);
        bool ok = false;
        n->value = n->literal.toDouble(&ok);
        if (!ok || !std::isfinite(n->value)) {
            pos_ = start;
            fail(QStringLiteral("the number %1 is beyond the range of numbers").arg(n->literal));
        }
        return n;
    }

    NodePtr name()
    {
        const qsizetype start = pos_;
        while (pos_ < t_.size() && (t_[pos_].isLetter() || isAsciiDigit(t_[pos_]) || t_[pos_] == u'_'))
            ++pos_;
        const QString word = t_.mid(start, pos_ - start);
        const QString lower = word.toLower();
        const int b = static_cast<int>(start), e = static_cast<int>(pos_);
        if (lower == u"x")
            return makeNode(ExprOp::X, b, e);
        if (lower == u"pi")
            return makeNode(ExprOp::Pi, b, e);
        if (lower == u"e")
            return makeNode(ExprOp::E, b, e);
        for (const FnName& f : kFunctions) {
            if (lower != QLatin1String(f.name) || f.arity == 0)
                continue;
            if (!accept(u'('))
                fail(QStringLiteral("expected '(' after %1").arg(word));
            Nest nest(*this, pos_ - 1);
            NodePtr arg = sum();
            NodePtr second;
            if (f.arity == 2) {
                if (!accept(u','))
                    fail(QStringLiteral("expected ',': %1 takes two arguments").arg(word));
                second = sum();
            } else if (accept(u',')) {
                --pos_;
                fail(QStringLiteral("%1 takes one argument").arg(word));
            }
            if (!accept(u')'))
                fail(QStringLiteral("expected ')'"));
            auto n = makeUnary(ExprOp::Call, b, static_cast<int>(pos_), std::move(arg));
            if (second) {
                n->hasX = n->hasX || second->hasX;
                n->b = std::move(second);
            }
            n->fn = f.fn;
            return n;
        }
        pos_ = start;
        fail(QStringLiteral("unknown name '%1'; Vendrak knows: %2").arg(word, KnownNames()));
    }

    const QString& t_;
    qsizetype pos_ = 0;
    int depth_ = 0;
};

double sign(double v) { return v > 0 ? 1.0 : v < 0 ? -1.0 : v == 0 ? 0.0 : v; }

// A whole number as typed: digits only, small enough to be exact.
bool wholeLiteral(const ExprNode& n, long long& v)
{
    const bool negative = n.op == ExprOp::Neg && n.a;
    const ExprNode& m = negative ? *n.a : n;
    if (m.op != ExprOp::Number || m.literal.isEmpty() || m.value > 1e15)
        return false;
    for (QChar c : m.literal)
        if (!isAsciiDigit(c))
            return false;
    v = static_cast<long long>(m.value);
    if (negative)
        v = -v;
    return true;
}

double power(const ExprNode& n, double a, double b)
{
    const double r = std::pow(a, b);
    long long p = 0, q = 1;
    if (std::isnan(r) && a < 0 && OddRootExponent(*n.b, p, q))
        return (p % 2 ? -1 : 1) * std::pow(-a, b);
    return r;
}

// The jump functions take the mean of their two sides at the jump.
double heaviside(double v) { return v > 0 ? 1.0 : v < 0 ? 0.0 : v == 0 ? 0.5 : v; }

double twoArgs(ExprFn fn, double a, double b)
{
    if (std::isnan(a) || std::isnan(b))
        return NAN;
    switch (fn) {
    case ExprFn::Mod: return a - b * std::floor(a / b); // floored: the sign of the divisor
    case ExprFn::Min: return a < b ? a : b;
    case ExprFn::Max: return a > b ? a : b;
    default: return NAN;
    }
}

double evaluate(const ExprNode& n, const double* c, double x)
{
    switch (n.op) {
    case ExprOp::Number: return n.value;
    case ExprOp::X: return x;
    case ExprOp::Pi: return M_PI;
    case ExprOp::E: return M_E;
    case ExprOp::Neg: return -c[0];
    case ExprOp::Add: return c[0] + c[1];
    case ExprOp::Sub: return c[0] - c[1];
    case ExprOp::Mul: return c[0] * c[1];
    case ExprOp::Div: return c[0] / c[1];
    case ExprOp::Pow: return power(n, c[0], c[1]);
    case ExprOp::Call: break;
    }
    const double v = c[0];
    int sg = 0;
    switch (n.fn) {
    case ExprFn::Sin: return std::sin(v);
    case ExprFn::Cos: return std::cos(v);
    case ExprFn::Tan: return std::tan(v);
    case ExprFn::Asin: return std::asin(v);
    case ExprFn::Acos: return std::acos(v);
    case ExprFn::Atan: return std::atan(v);
    case ExprFn::Sinh: return std::sinh(v);
    case ExprFn::Cosh: return std::cosh(v);
    case ExprFn::Tanh: return std::tanh(v);
    case ExprFn::Asinh: return std::asinh(v);
    case ExprFn::Acosh: return std::acosh(v);
    case ExprFn::Atanh: return std::atanh(v);
    case ExprFn::Exp: return std::exp(v);
    case ExprFn::Log: return std::log(v);
    case ExprFn::Log10: return std::log10(v);
    case ExprFn::Sqrt: return std::sqrt(v);
    case ExprFn::Abs: return std::fabs(v);
    case ExprFn::Sign: return sign(v);
    case ExprFn::Erf: return std::erf(v);
    // tgamma is finite at a pole from one side only; the pole is no value.
    case ExprFn::Gamma: return v <= 0 && v == std::floor(v) ? NAN : std::tgamma(v);
    case ExprFn::Lgamma: return v <= 0 && v == std::floor(v) ? NAN : ::lgamma_r(v, &sg);
    case ExprFn::Cot: return std::cos(v) / std::sin(v);
    case ExprFn::Sec: return 1 / std::cos(v);
    case ExprFn::Csc: return 1 / std::sin(v);
    case ExprFn::Cbrt: return std::cbrt(v);
    case ExprFn::Floor: return std::floor(v);
    case ExprFn::Heaviside: return heaviside(v);
    case ExprFn::Mod:
    case ExprFn::Min:
    case ExprFn::Max: return twoArgs(n.fn, v, c[1]);
    }
    return NAN;
}

} // namespace

ExprNode::~ExprNode()
{
    std::vector<std::unique_ptr<ExprNode>> pending;
    if (a)
        pending.push_back(std::move(a));
    if (b)
        pending.push_back(std::move(b));
    while (!pending.empty()) {
        std::unique_ptr<ExprNode> n = std::move(pending.back());
        pending.pop_back();
        if (n->a)
            pending.push_back(std::move(n->a));
        if (n->b)
            pending.push_back(std::move(n->b));
    } // each node goes childless, so its own destructor stops at once
}

Expression Expression::parse(const QString& text)
{
    Expression e;
    e.text_ = text;
    e.root_ = Parser(e.text_).parseAll();
    return e;
}

double Expression::operator()(double x) const
{
    return FoldExpression<double>(*root_, [x](const ExprNode& n, const double* c) { return evaluate(n, c, x); });
}

QString Expression::termText(const ExprNode& n) const { return text_.mid(n.begin, n.end - n.begin).trimmed(); }

QString FunctionName(ExprFn fn)
{
    for (const FnName& f : kFunctions)
        if (f.fn == fn && f.arity > 0)
            return QLatin1String(f.name);
    return {};
}

QString KnownNames()
{
    QStringList names{QStringLiteral("x"), QStringLiteral("pi"), QStringLiteral("e")};
    for (const FnName& f : kFunctions)
        if (f.arity > 0)
            names << QLatin1String(f.name) + (f.arity == 2 ? QStringLiteral("(a, b)") : QString());
    return names.join(QStringLiteral(", "));
}

bool OddRootExponent(const ExprNode& exponent, long long& p, long long& q)
{
    const ExprNode* e = &exponent;
    bool negative = false;
    if (e->op == ExprOp::Neg) {
        negative = true;
        e = e->a.get();
    }
    if (e->op != ExprOp::Div || !wholeLiteral(*e->a, p) || !wholeLiteral(*e->b, q) || q <= 0)
        return false;
    const long long g = std::gcd(p, q);
    if (g == 0)
        return false;
    p /= g;
    q /= g;
    if (negative)
        p = -p;
    return q % 2 != 0;
}

double ConstantValue(const QString& text)
{
    const Expression e = Expression::parse(text);
    if (e.root().dependsOnX())
        throw Error::build(QStringLiteral("a constant expression must not contain x"));
    const double v = e(0);
    if (!std::isfinite(v))
        throw Error::build(QStringLiteral("%1 is not a finite number").arg(text.trimmed()));
    return v;
}

} // namespace vendrak
