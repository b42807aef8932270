#include "core/script/script_host.h"

#include "core/study/errors.h"
#include "core/study/number_text.h"

#include <cmath>
#include <utility>

namespace vendrak {

namespace {

// Recursive descent over one expression. VBScript precedence: ^ above unary
// minus above * / above + -.
class Parser {
public:
    Parser(const QString& text, Class1* object, const std::function<void(int)>& onMathError)
        : s_(text), obj_(object), onMathError_(onMathError)
    {
    }

    double expression()
    {
        double v = term();
        for (;;) {
            skip();
            if (eat(u'+'))
                v = checked(v + term());
            else if (eat(u'-'))
                v = checked(v - term());
            else
                return v;
        }
    }

    void expectEnd()
    {
        skip();
        if (i_ < s_.size())
            fail();
    }

    QString identifier()
    {
        skip();
        const int start = i_;
        while (i_ < s_.size() && (s_[i_].isLetterOrNumber() || s_[i_] == u'_'))
            ++i_;
        if (start == i_ || !s_[start].isLetter())
            fail();
        return s_.mid(start, i_ - start);
    }

    bool eat(QChar c)
    {
        skip();
        if (i_ < s_.size() && s_[i_] == c) {
            ++i_;
            return true;
        }
        return false;
    }

private:
    [[noreturn]] void fail() { throw Error(ErrorNumber::ScriptSyntax, QStringLiteral("Syntax error")); }

    void skip()
    {
        while (i_ < s_.size() && s_[i_].isSpace())
            ++i_;
    }

    double term()
    {
        double v = unary();
        for (;;) {
            skip();
            if (eat(u'*'))
                v = checked(v * unary());
            else if (eat(u'/'))
                v = checkedDiv(v, unary());
            else
                return v;
        }
    }

    double unary()
    {
        if (eat(u'-'))
            return -unary();
        if (eat(u'+'))
            return unary();
        return power();
    }

    double power()
    {
        double v = primary();
        while (eat(u'^')) {
            const double p = exponent();
            // A negative base has no real power for a fractional exponent.
            if (v < 0 && p != std::trunc(p))
                raise(ErrorNumber::InvalidCall);
            v = checked(std::pow(v, p));
        }
        return v;
    }

    // The exponent may carry its own sign: 2 ^ -1.
    double exponent()
    {
        if (eat(u'-'))
            return -exponent();
        if (eat(u'+'))
            return exponent();
        return primary();
    }

    double primary()
    {
        skip();
        if (eat(u'(')) {
            const double v = expression();
            if (!eat(u')'))
                fail();
            return v;
        }
        if (i_ < s_.size() && (s_[i_].isDigit() || s_[i_] == u'.')) {
            const QString rest = s_.mid(i_);
            const int len = LeadingNumberLength(rest);
            if (len == 0)
                fail();
            i_ += len;
            return LeadingNumber(rest.left(len));
        }
        const QString name = identifier();
        if (eat(u'(')) {
            const double arg = expression();
            if (!eat(u')'))
                fail();
            return call(name, arg);
        }
        return variable(name);
    }

    double call(const QString& name, double a)
    {
        const QString n = name.toLower();
        if (n == u"atn") return std::atan(a);
        if (n == u"exp") return checked(std::exp(a));
        if (n == u"sin") return std::sin(a);
        if (n == u"cos") return std::cos(a);
        if (n == u"tan") return checked(std::tan(a));
        if (n == u"abs") return std::fabs(a);
        if (n == u"sqr") {
            if (a < 0) raise(ErrorNumber::InvalidCall);
            return std::sqrt(a);
        }
        if (n == u"log") {
            if (a <= 0) raise(ErrorNumber::InvalidCall);
            return std::log(a);
        }
        if (obj_) {
            using F = double (Class1::*)(double);
            for (const auto& [fname, f] : {std::pair<const char16_t*, F>{u"asin", &Class1::Asin}, {u"acos", &Class1::Acos},
                                           {u"sinh", &Class1::Sinh}, {u"cosh", &Class1::Cosh}, {u"tanh", &Class1::Tanh},
                                           {u"asinh", &Class1::Asinh}, {u"acosh", &Class1::Acosh}, {u"atanh", &Class1::Atanh}})
                if (n == fname)
                    return mathCall(f, a);
        }
        throw Error(ErrorNumber::TypeMismatch, QStringLiteral("Type mismatch: '%1'").arg(name));
    }

    // The object's function traps its own error: it keeps the number in the
    // object's ierr, which a success leaves as it was, and gives 0.
    double mathCall(double (Class1::*f)(double), double a)
    {
        const int before = obj_->ierr;
        obj_->ierr = 0;
        const double v = (obj_->*f)(a);
        if (obj_->ierr == 0)
            obj_->ierr = before;
        else if (onMathError_)
            onMathError_(obj_->ierr);
        return v;
    }

    double variable(const QString& name)
    {
        if (double* v = member(obj_, name))
            return *v;
        if (obj_ && name.compare(u"ierr", Qt::CaseInsensitive) == 0)
            return obj_->ierr;
        throw Error(ErrorNumber::ScriptUndefinedName, QStringLiteral("Variable is undefined: '%1'").arg(name));
    }

public:
    static double* member(Class1* o, const QString& name)
    {
        if (!o)
            return nullptr;
        const QString n = name.toLower();
        if (n == u"pi") return &o->pi;
        if (n == u"halfpi") return &o->halfpi;
        if (n == u"e") return &o->e;
        if (n == u"x") return &o->x;
        return nullptr;
    }

private:
    QString s_;
    Class1* obj_;
    const std::function<void(int)>& onMathError_;
    int i_ = 0;
};

} // namespace

void ScriptHost::AddObject(const QString& name, Class1* object, bool addMembers)
{
    objectName_ = name;
    object_ = object;
    global_ = addMembers;
}

bool ScriptHost::ExecuteStatement(const QString& statement)
{
    lastError_ = 0;
    lastDescription_.clear();
    try {
        Class1* visible = global_ ? object_ : nullptr;
        Parser p(statement, visible, onMathError);
        QString target = p.identifier();
        // "sh.name = ..." reaches the object by its registered name too.
        Class1* owner = visible;
        if (p.eat(u'.')) {
            if (target.compare(objectName_, Qt::CaseInsensitive) != 0 || !object_)
                throw Error(ErrorNumber::ScriptUndefinedName, QStringLiteral("Object required: '%1'").arg(target));
            owner = object_;
            target = p.identifier();
        }
        if (!p.eat(u'='))
            throw Error(ErrorNumber::ScriptSyntax, QStringLiteral("Syntax error"));
        const double value = p.expression();
        p.expectEnd();
        if (owner && target.compare(u"ierr", Qt::CaseInsensitive) == 0) {
            owner->ierr = toInt32(value);
            return true;
        }
        double* slot = Parser::member(owner, target);
        if (!slot)
            throw Error(ErrorNumber::ScriptUndefinedName, QStringLiteral("Variable is undefined: '%1'").arg(target));
        *slot = value;
        return true;
    } catch (const Error& e) {
        lastError_ = errorCode(e.number());
        lastDescription_ = e.message();
    }
    if (onError)
        onError(lastError_, lastDescription_);
    return false;
}

} // namespace vendrak
