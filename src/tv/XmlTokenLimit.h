#pragma once
#include <QByteArrayView>
#include <QString>

#include <string>

// Watches the plain bytes of an XML document before they reach the XML reader, which holds a
// token whole until it ends: an unterminated comment, text, tag (with its attributes), CDATA block
// or processing instruction would otherwise grow without limit. Only lengths are tracked, so the
// memory it costs is constant.
class XmlTokenLimit {
public:
    explicit XmlTokenLimit(qsizetype maxTokenBytes) : max_(maxTokenBytes) {}

    // False, with error() saying which kind of token, once one grows past the limit.
    bool feed(QByteArrayView bytes);
    const QString& error() const { return error_; }

private:
    enum class State { Text, Open, Tag, Comment, CData, Instruction };
    bool grow(qsizetype n);
    void enter(State s);

    qsizetype max_;
    State state_ = State::Text;
    qsizetype length_ = 0;
    std::string head_; // the first bytes after '<', until they say what follows
    char quote_ = 0;   // inside a quoted attribute value of a tag
    char last_[2] = {0, 0};
    QString error_;
};
