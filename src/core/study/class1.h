#pragma once
// The math object handed to the script host: inverse trigonometric and
// hyperbolic functions the script language lacks, and the constants. A
// failing function sets the object's ierr and returns 0; the host that runs
// it tells the window.
namespace vendrak {

class Class1 {
public:
    double pi = 0.0;
    double halfpi = 0.0;
    double e = 0.0;
    double x = 0.0;
    int ierr = 0;

    double Asin(double x);
    double Acos(double x);
    double Sinh(double x);
    double Cosh(double x);
    double Tanh(double x);
    double Asinh(double x);
    double Acosh(double x);
    double Atanh(double x);

private:
    template <class F> double guarded(F f);
};

} // namespace vendrak
