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
  bool IsIdentity() const { return *this == MatrixT{}; }

  friend bool operator==(const MatrixT&, const MatrixT&) = default;
};

}  // namespace kelcore
