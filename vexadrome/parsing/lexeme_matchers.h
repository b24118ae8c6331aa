// The lexeme matchers: small state machines fed one character at a time.
// addchar answers 1 while the characters fed since restart form a complete
// lexeme of the matcher's kind, and 0 once they no longer can; canStart says
// whether a character is accepted as the first one.
#pragma once

namespace Vexadrome::Parsing {

class LexemeMatcher {
public:
    virtual ~LexemeMatcher() = default;
    virtual void restart() {}
    virtual int addchar(char16_t) { return 0; }
};

// Space, tab, line feed and carriage return (text saved with CR LF line ends reads as with LF).
class WSMatcher : public LexemeMatcher {
public:
    static bool canStart(char16_t ch) { return ch == u' ' || ch == u'\t' || ch == u'\n' || ch == u'\r'; }
    int addchar(char16_t ch) override;
};

// Digits with at most one point: "5", "5.", ".5" and "." are numbers.
class NumberMatcher : public LexemeMatcher {
public:
    static bool canStart(char16_t ch) { return (ch >= u'0' && ch <= u'9') || ch == u'.'; }
    void restart() override { seenPoint = false; }
    int addchar(char16_t ch) override;

private:
    bool seenPoint = false;
};

// An ASCII letter or underscore, then letters, digits and underscores.
class VariableMatcher : public LexemeMatcher {
public:
    static bool canStart(char16_t ch) { return (ch >= u'A' && ch <= u'Z') || (ch >= u'a' && ch <= u'z') || ch == u'_'; }
    void restart() override { first = true; }
    int addchar(char16_t ch) override;

private:
    bool first = true;
};

}
