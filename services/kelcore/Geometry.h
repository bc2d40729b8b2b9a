#pragma once

namespace kelcore {

template <class T>
struct PointT {
  T x{};
  T y{};

  friend bool operator==(const PointT&, const PointT&) = default;
};

// x, y, width, height; y grows downwards.
template <class T>
struct RectT {
  T x{};
  T y{};
  T width{};
  T height{};

  T Right() const { return x + width; }
  T Bottom() const { return y + height; }

  friend bool operator==(const RectT&, const RectT&) = default;
};

// Nine entries m0 to m8, row by row. A point (x, y) maps to
// (x*m0 + y*m3 + m6, x*m1 + y*m4 + m7); m6 and m7 are the translation.
template <class T>
struct MatrixT {
  T m0 = 1, m1 = 0, m2 = 0;
  T m3 = 0, m4 = 1, m5 = 0;
  T m6 = 0, m7 = 0, m8 = 1;

  PointT<T> Map(const PointT<T>& p) const { return {p.x * m0 + p.y * m3 + m6, p.x * m1 + p.y * m4 + m7}; }

  // this = this x other, the row-by-column product of all nine entries. Points are rows, so the
  // result applies this matrix first and `other` after it.
  void MultiplyMatrix(const MatrixT& other) {
    const MatrixT a = *this;
    const MatrixT& b = other;
    m0 = a.m0 * b.m0 + a.m1 * b.m3 + a.m2 * b.m6;
    m1 = a.m0 * b.m1 + a.m1 * b.m4 + a.m2 * b.m7;
    m2 = a.m0 * b.m2 + a.m1 * b.m5 + a.m2 * b.m8;
    m3 = a.m3 * b.m0 + a.m4 * b.m3 + a.m5 * b.m6;
    m4 = a.m3 * b.m1 + a.m4 * b.m4 + a.m5 * b.m7;
    m5 = a.m3 * b.m2 + a.m4 * b.m5 + a.m5 * b.m8;
    m6 = a.m6 * b.m0 + a.m7 * b.m3 + a.m8 * b.m6;
    m7 = a.m6 * b.m1 + a.m7 * b.m4 + a.m8 * b.m7;
    m8 = a.m6 * b.m2 + a.m7 * b.m5 + a.m8 * b.m8;
  }

  // Scales by (sx, sy) about (cx, cy), after the transform already here. A scale of exactly
  // (1, 1) changes nothing, whatever the centre.
  void ScaleMatrixAbout(T sx, T sy, T cx, T cy) {
    if (sx == T(1) && sy == T(1)) return;
    MatrixT scale;
    scale.m0 = sx;
    scale.m4 = sy;
    scale.m6 = static_cast<T>(1.0 - static_cast<double>(sx)) * cx;
    scale.m7 = static_cast<T>(1.0 - static_cast<double>(sy)) * cy;
    MultiplyMatrix(scale);
  }
  bool IsIdentity() const { return *this == MatrixT{}; }

  friend bool operator==(const MatrixT&, const MatrixT&) = default;
};

}  // namespace kelcore
