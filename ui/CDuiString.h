#pragma once
// The framework's string: UTF-16 text with the handful of operations the windows use.
#include <QString>
#include <string>

class CDuiString {
public:
    CDuiString() = default;
    CDuiString(const char16_t* text);
    CDuiString(const char16_t* text, int length);
    CDuiString(const QString& text);
    CDuiString(std::u16string text);

    CDuiString& operator=(const char16_t* text);
    CDuiString& operator+=(const CDuiString& other);
    CDuiString& operator+=(const char16_t* text);
    CDuiString& operator+=(char16_t ch);
    friend CDuiString operator+(CDuiString a, const CDuiString& b) { return a += b; }

    // Exact comparison, letter case counts.
    friend bool operator==(const CDuiString& a, const CDuiString& b) { return a.m_text == b.m_text; }
    bool operator==(const char16_t* text) const;

    // Index of the first occurrence of text at or after start, -1 when absent.
    int Find(const CDuiString& text, int start = 0) const;
    int Find(char16_t ch, int start = 0) const;
    CDuiString Left(int count) const;
    CDuiString Mid(int start, int count = -1) const;
    // Replaces every occurrence; returns how many were replaced.
    int Replace(const CDuiString& from, const CDuiString& to);
    const char16_t* GetData() const { return m_text.c_str(); }
    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    int CompareNoCase(const CDuiString& other) const;

    QString toQString() const;
    const std::u16string& str() const { return m_text; }

private:
    std::u16string m_text;
};
