// A dense row-major matrix sized to its contents, indexed from 0.
#pragma once

#include <cstddef>
#include <vector>

namespace vantrel {

template <class T> class Matrix {
public:
    Matrix() = default;
    Matrix(std::size_t rows, std::size_t columns, T value = T{})
        : m_rows(rows), m_columns(columns), m_cells(rows * columns, value) {}

    std::size_t rows() const { return m_rows; }
    std::size_t columns() const { return m_columns; }
    bool empty() const { return m_cells.empty(); }

    T& operator()(std::size_t row, std::size_t column) { return m_cells[row * m_columns + column]; }
    const T& operator()(std::size_t row, std::size_t column) const {
        return m_cells[row * m_columns + column];
    }

    const T* row(std::size_t row) const { return m_cells.data() + row * m_columns; }
    T* row(std::size_t row) { return m_cells.data() + row * m_columns; }

    bool operator==(const Matrix&) const = default;

private:
    std::size_t m_rows = 0;
    std::size_t m_columns = 0;
    std::vector<T> m_cells;
};

} // namespace vantrel
