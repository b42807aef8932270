#pragma once
// Expressions in x as the user types them for a new series: numbers with a
// decimal point, + - * / ^, parentheses, pi, e, x and the usual functions of
// one argument, with mod, min and max of two. A product may be written
// without its * when a name or '(' follows (2x, 2 sin(x), (x+1)(x-1)).
#include "core/study/errors.h"

#include <QString>
#include <cstddef>
#include <exception>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vendrak {

// Parentheses, calls, signs and powers nest at most this deep: the parser
// descends once per level, and the text is the user's.
constexpr int kMaxNesting = 1000;

enum class ExprOp { Number, X, Pi, E, Neg, Add, Sub, Mul, Div, Pow, Call };

enum class ExprFn {
    Sin, Cos, Tan, Asin, Acos, Atan, Sinh, Cosh, Tanh, Asinh, Acosh, Atanh,
    Exp, Log, Log10, Sqrt, Abs, Sign, Erf, Gamma,
    Cot, Sec, Csc, Cbrt, Lgamma, Floor, Heaviside, Mod, Min, Max
};

struct ExprNode {
    ExprOp op = ExprOp::Number;
    ExprFn fn = ExprFn::Sin;
    double value = 0;      // a number's value as a double
    QString literal;       // a number as typed, so exact arithmetic can read it again
    int begin = 0, end = 0; // the node's characters in the source text
    bool hasX = false;      // x occurs in the node or below it
    std::unique_ptr<ExprNode> a, b;

    ExprNode() = default;
    // A sum of many terms is a chain as long as the sum: no recursion here.
    ~ExprNode();
    ExprNode(const ExprNode&) = delete;
    ExprNode& operator=(const ExprNode&) = delete;

    bool dependsOnX() const { return hasX; }
};

// Folds the tree from the leaves up, children before their node, with the
// stack on the heap: a long sum or product is a chain along `a` as deep as
// it is long. visit(node, children) gets the values of the node's children
// (none, a, or a and b) to move from and returns the node's value.
template <class V, class Visit>
V FoldExpression(const ExprNode& root, Visit&& visit)
{
    struct Frame {
        const ExprNode* n;
        int next; // 0: a, 1: b, 2: the node itself
    };
    std::vector<Frame> frames{{&root, 0}};
    std::vector<V> values;
    while (!frames.empty()) {
        Frame& f = frames.back();
        const ExprNode* child = f.next == 0 ? f.n->a.get() : f.next == 1 ? f.n->b.get() : nullptr;
        if (child) {
            ++f.next;
            frames.push_back({child, 0});
            continue;
        }
        const auto count = static_cast<std::ptrdiff_t>(f.n->a ? (f.n->b ? 2 : 1) : 0);
        V v = visit(*f.n, values.data() + (static_cast<std::ptrdiff_t>(values.size()) - count));
        values.erase(values.end() - count, values.end());
        values.push_back(std::move(v));
        frames.pop_back();
    }
    return std::move(values.back());
}

class Expression {
public:
    // Throws Error naming the 1-based column and what was expected.
    static Expression parse(const QString& text);

    double operator()(double x) const;
    const ExprNode& root() const { return *root_; }
    const QString& text() const { return text_; }
    // The source characters of a node, for messages that name the bad term.
    QString termText(const ExprNode& n) const;

private:
    QString text_;
    std::unique_ptr<ExprNode> root_;
};

QString FunctionName(ExprFn fn);

// Every name the language knows, for messages and help: "x, pi, e, sin, …".
QString KnownNames();

// An exponent written p/q with whole numbers p and q (a sign in front
// allowed), reduced, with q odd: a negative base then has a real root.
bool OddRootExponent(const ExprNode& exponent, long long& p, long long& q);

// The value of a constant expression such as "pi/2" or "-2*pi", as numeric
// options and fields take it. Throws Error when it does not parse,
// holds x, or is not a finite number.
double ConstantValue(const QString& text);

} // namespace vendrak
