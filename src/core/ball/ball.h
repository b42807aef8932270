#pragma once
// Arb's balls, complex balls, floats and vectors of balls as values that
// clear themselves, for the builder and Verify alike.
#include <acb.h>
#include <arb.h>

#include <utility>

namespace vendrak {

struct Ball {
    arb_t v;
    Ball() { arb_init(v); }
    ~Ball() { arb_clear(v); }
    Ball(const Ball&) = delete;
    Ball& operator=(const Ball&) = delete;
};

struct Complex {
    acb_t v;
    Complex() { acb_init(v); }
    ~Complex() { acb_clear(v); }
    Complex(Complex&& o) noexcept { acb_init(v); acb_swap(v, o.v); }
    Complex& operator=(Complex&& o) noexcept { acb_swap(v, o.v); return *this; }
    Complex(const Complex&) = delete;
    Complex& operator=(const Complex&) = delete;
};

struct Arf {
    arf_t v;
    Arf() { arf_init(v); }
    explicit Arf(double d) { arf_init(v); arf_set_d(v, d); }
    ~Arf() { arf_clear(v); }
    Arf(const Arf&) = delete;
    Arf& operator=(const Arf&) = delete;
};

struct BallVec {
    arb_ptr v = nullptr;
    slong n = 0;
    BallVec() = default;
    explicit BallVec(slong count) : v(_arb_vec_init(count)), n(count) {}
    ~BallVec()
    {
        if (v)
            _arb_vec_clear(v, n);
    }
    BallVec(BallVec&& o) noexcept : v(o.v), n(o.n) { o.v = nullptr; o.n = 0; }
    BallVec& operator=(BallVec&& o) noexcept
    {
        std::swap(v, o.v);
        std::swap(n, o.n);
        return *this;
    }
    BallVec(const BallVec&) = delete;
    BallVec& operator=(const BallVec&) = delete;
};

} // namespace vendrak
