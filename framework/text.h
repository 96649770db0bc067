// A single-byte text in the system's ANSI code page, owned on the heap.
// The program keeps to this small class instead of std::string: the standard
// string and its exception paths would multiply the size of setup.exe.
//
// A text that cannot grow (memory exhausted, or a length past what can be addressed)
// becomes a failed text: it is empty, stays failed whatever is added to it, and passes
// its failure on to copies and joins. The operation that needed it sees Failed() and
// fails; the process never ends over it.
#pragma once
#include <stddef.h>

class CText {
public:
    CText() = default;
    CText(const char* s);  // NOLINT(google-explicit-constructor): texts convert like CString
    CText(const char* s, size_t n);
    CText(const CText& other);
    CText(CText&& other) noexcept;
    ~CText();

    CText& operator=(const CText& other);
    CText& operator=(CText&& other) noexcept;
    CText& operator=(const char* s);
    CText& operator+=(const CText& s);
    CText& operator+=(const char* s);
    CText& operator+=(char c) { return Append(&c, 1); }
    CText& Append(const char* s, size_t n);

    const char* c_str() const { return m_p ? m_p : ""; }
    operator const char*() const { return c_str(); }  // NOLINT(google-explicit-constructor)
    // Would compare addresses through the conversion above: compare the texts instead.
    bool operator==(const char*) const = delete;
    bool operator!=(const char*) const = delete;
    size_t GetLength() const { return m_len; }
    bool IsEmpty() const { return m_len == 0; }
    bool Failed() const { return m_failed; }

    // Replaces every occurrence of `what` by `with`, byte-wise; the replacement is not
    // rescanned.
    CText Replaced(const char* what, const char* with) const;

    // A writable buffer of `capacity` bytes plus terminator, for APIs that fill one.
    // Returns nullptr (and the text fails) when it cannot be had; ReleaseBuffer then
    // measures the text.
    char* GetBuffer(size_t capacity);
    void ReleaseBuffer();

private:
    // Position of the first occurrence at or after `start`, or -1.
    long Find(const char* what, size_t start) const;
    // Shortens the text to `newLength` bytes; a longer length changes nothing.
    void Truncate(size_t newLength);
    bool Reserve(size_t capacity);
    void Fail();
    char* m_p = nullptr;
    size_t m_len = 0;
    size_t m_cap = 0;
    bool m_failed = false;
};

CText operator+(const CText& a, const char* b);
CText operator+(const CText& a, const CText& b);
