// ExactPowers: x squared and x cubed by multiplication, with the bits that
// NyCore::Math::pow(x, 2) and pow(x, 3) give. The product is computed with
// its exact rounding error and kept only when the exact power lies so near it
// that pow cannot round elsewhere; every other argument, and every argument
// on a processor without fused multiply-add, goes to pow itself.
#pragma once

namespace Vexadrome::Actions {

class ExactPowers {
public:
    // Whether the products are tried at all (the processor has fused multiply-add).
    static bool isAvailable();
    // True, with *result = pow(x, 2), when the product is certain to be pow's result.
    static bool trySquare(double x, double* result);
    // The same for pow(x, 3).
    static bool tryCube(double x, double* result);

    static double square(double x);
    static double cube(double x);
};

}
