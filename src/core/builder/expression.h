#pragma once
// Expressions in x as the user types them for a new series: numbers with a
// decimal point, + - * / ^, parentheses, pi, e, x and the usual functions of
// one argument.
#include <QString>
#include <exception>
#include <memory>
#include <string>

namespace vendrak {

// Anything that stops a series from being built: the message is shown to the
// user as it is.
class BuildError : public std::exception {
public:
    explicit BuildError(QString message)
        : message_(std::move(message)), what_(message_.toStdString()) {}
    const QString& message() const noexcept { return message_; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    QString message_;
    std::string what_;
};

enum class ExprOp { Number, X, Pi, E, Neg, Add, Sub, Mul, Div, Pow, Call };

enum class ExprFn {
    Sin, Cos, Tan, Asin, Acos, Atan, Sinh, Cosh, Tanh, Asinh, Acosh, Atanh,
    Exp, Log, Log10, Sqrt, Abs, Sign, Erf, Gamma
};

struct ExprNode {
    ExprOp op = ExprOp::Number;
    ExprFn fn = ExprFn::Sin;
    double value = 0;      // a number's value as a double
    QString literal;       // a number as typed, so exact arithmetic can read it again
    int begin = 0, end = 0; // the node's characters in the source text
    std::unique_ptr<ExprNode> a, b;

    bool dependsOnX() const;
};

class Expression {
public:
    // Throws BuildError naming the 1-based column and what was expected.
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

} // namespace vendrak
