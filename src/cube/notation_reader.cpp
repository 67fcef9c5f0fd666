#include "cube/notation_reader.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace cubega {

namespace {

// How the cube is held: the cube's face (named as it was held at the start) at each place in
// space, places and faces both in the order F U R B D L.
using Orientation = std::array<int, kFaceCount>;

constexpr Orientation kHeldAsAtStart{0, 1, 2, 3, 4, 5};

constexpr int oppositeOf(int face) {
    return (face + 3) % kFaceCount;
}

// The four places around `face` in the order its clockwise quarter turn carries them, read from
// the turn's own side cycles.
constexpr std::array<int, 4> ringAround(int face) {
    std::array<int, 4> ring{};
    for (std::size_t k = 0; k < ring.size(); ++k) {
        ring[k] = kSideCycles[static_cast<std::size_t>(face)][0][k] / 9;
    }
    return ring;
}

// After a quarter turn of the whole cube as `face` turns clockwise.
Orientation turnedWhole(const Orientation& held, int face) {
    const std::array<int, 4> ring = ringAround(face);
    Orientation turned = held;
    for (std::size_t k = 0; k < ring.size(); ++k) {
        turned[static_cast<std::size_t>(ring[(k + 1) % 4])] =
            held[static_cast<std::size_t>(ring[k])];
    }
    return turned;
}

// `second`, a change of hold measured from where `first` leaves the cube, after `first`.
Orientation followedBy(const Orientation& first, const Orientation& second) {
    Orientation both{};
    for (std::size_t place = 0; place < both.size(); ++place) {
        both[place] = first[static_cast<std::size_t>(second[place])];
    }
    return both;
}

Orientation inverseOf(const Orientation& held) {
    Orientation inverse{};
    for (std::size_t place = 0; place < inverse.size(); ++place) {
        inverse[static_cast<std::size_t>(held[place])] = static_cast<int>(place);
    }
    return inverse;
}

// `held` again and again, `timesMod12` times more than a multiple of 12: every change of hold
// comes back after 12, as its order is 1, 2, 3 or 4.
Orientation repeated(const Orientation& held, std::uint64_t timesMod12) {
    Orientation result = kHeldAsAtStart;
    for (std::uint64_t t = 0; t < timesMod12; ++t) {
        result = followedBy(result, held);
    }
    return result;
}

// The same turn of the face that `faceAt` puts at the code's face.
MoveCode renamed(MoveCode code, const Orientation& faceAt) {
    const int face = faceOf(code);
    return faceAt[static_cast<std::size_t>(face)] + code - face;
}

MoveCode inverseMove(MoveCode code) {
    if (code < 6) {
        return code + 12;
    }
    return code < 12 ? code : code - 12;
}

// A text read on its own, from the cube as held at its start: its face turns, each named by the
// face it turns as the cube was held at the start, and how the cube is held at its end.
struct Piece {
    std::vector<MoveCode> turns;
    Orientation held = kHeldAsAtStart;
};

// Thrown to the top of the reading, where it becomes the answer.
struct Refusal {
    MoveTextError error;
};

std::string shown(char c) {
    if (c >= ' ' && c <= '~') {
        return std::string(1, c);
    }
    constexpr std::string_view kHex = "0123456789ABCDEF";
    const auto byte = static_cast<unsigned char>(c);
    std::string escaped = "\\x";
    escaped += kHex[byte / 16];
    escaped += kHex[byte % 16];
    return escaped;
}

std::string quoted(char c) {
    std::string text = "\"";
    text += shown(c);
    text += '"';
    return text;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A group's or bracket's suffix: a repeat count and whether it is undone.
struct Repetition {
    static constexpr std::uint64_t kSaturated = std::uint64_t{1} << 40;

    std::uint64_t count = 1;       // stops at kSaturated, far above any limit of face turns
    std::uint64_t countMod12 = 1;  // exact: all that a group of rotations alone needs
    bool undone = false;
};

class Reader {
  public:
    Reader(std::string_view text, std::size_t maxFaceTurns)
        : text_(text), maxFaceTurns_(maxFaceTurns) {}

    Piece readAll() {
        Piece all = readSequence(0);
        if (!atEnd()) {
            refuseStray();
        }
        return all;
    }

    bool plainFaceTurns() const { return plain_; }

  private:
    std::string_view text_;
    std::size_t maxFaceTurns_;
    std::size_t at_ = 0;
    bool plain_ = true;

    bool atEnd() const { return at_ == text_.size(); }
    char current() const { return text_[at_]; }
    bool next(char c) const { return !atEnd() && current() == c; }
    std::size_t position() const { return at_ + 1; }

    [[noreturn]] void refuse(std::size_t position, std::string detail) const {
        throw Refusal{MoveTextError{position, std::move(detail)}};
    }

    void skipBlanks() {
        while (!atEnd() && isBlank(current())) {
            ++at_;
        }
    }

    // Items up to the end or to a character that closes or splits a group or bracket, which is
    // left for the caller.
    Piece readSequence(std::size_t depth) {
        Piece piece;
        while (true) {
            skipBlanks();
            if (atEnd() || std::string_view(")],:").find(current()) != std::string_view::npos) {
                return piece;
            }
            readItem(piece, depth);
        }
    }

    void readItem(Piece& piece, std::size_t depth) {
        if (current() == '(' || current() == '[') {
            if (depth == kMaxMoveTextNesting) {
                refuse(position(), "groups and brackets nested more than " +
                                       std::to_string(kMaxMoveTextNesting) + " deep");
            }
            plain_ = false;
            const Piece inner = current() == '(' ? readGroup(depth + 1) : readBracket(depth + 1);
            append(piece, withRepetition(inner, readRepetition()));
            return;
        }
        readMove(piece);
    }

    Piece readGroup(std::size_t depth) {
        const std::size_t openedAt = position();
        ++at_;
        Piece inner = readSequence(depth);
        expectCloser(')', "the group opened at character " + std::to_string(openedAt),
                     "a group opened at character " + std::to_string(openedAt));
        return inner;
    }

    Piece readBracket(std::size_t depth) {
        const std::size_t openedAt = position();
        const std::string opened = " opened at character " + std::to_string(openedAt);
        ++at_;
        const Piece first = readSequence(depth);
        if (atEnd()) {
            refuse(position(), "a bracket" + opened + " is not closed");
        }
        const char separator = current();
        if (separator != ',' && separator != ':') {
            refuse(position(),
                   quoted(separator) + " where \",\" or \":\" is expected in the bracket" + opened);
        }
        ++at_;
        const Piece second = readSequence(depth);
        const std::string kind = separator == ',' ? "commutator" : "conjugate";
        expectCloser(']', "the " + kind + opened, "a " + kind + opened);
        Piece whole = first;
        append(whole, second);
        append(whole, inverted(first));
        if (separator == ',') {
            append(whole, inverted(second));
        }
        return whole;
    }

    void expectCloser(char closer, const std::string& what, const std::string& unclosed) {
        if (atEnd()) {
            refuse(position(), unclosed + " is not closed");
        }
        if (current() != closer) {
            refuse(position(), quoted(current()) + " where " + quoted(closer) +
                                   " is expected to close " + what);
        }
        ++at_;
    }

    // A character that closes or splits nothing open.
    [[noreturn]] void refuseStray() const {
        switch (current()) {
            case ')':
                refuse(position(), "\")\" closes no group");
            case ']':
                refuse(position(), "\"]\" closes no bracket");
            case ',':
                refuse(position(), "\",\" outside a commutator [A, B]");
            default:
                refuse(position(), "\":\" outside a conjugate [A: B]");
        }
    }

    Repetition readRepetition() {
        Repetition repetition;
        repetition.undone = next('\'');
        if (repetition.undone) {
            ++at_;
        }
        if (!atEnd() && isDigit(current())) {
            readCount(repetition);
            if (!repetition.undone && next('\'')) {
                repetition.undone = true;
                ++at_;
            }
        }
        return repetition;
    }

    void readCount(Repetition& repetition) {
        const std::size_t start = position();
        repetition.count = 0;
        repetition.countMod12 = 0;
        for (; !atEnd() && isDigit(current()); ++at_) {
            const auto digit = static_cast<std::uint64_t>(current() - '0');
            repetition.count = std::min(repetition.count * 10 + digit, Repetition::kSaturated);
            repetition.countMod12 = (repetition.countMod12 * 10 + digit) % 12;
        }
        if (repetition.count == 0) {
            refuse(start, "a repeat count must be 1 or more");
        }
    }

    Piece withRepetition(const Piece& piece, const Repetition& repetition) {
        const Piece once = repetition.undone ? inverted(piece) : piece;
        Piece whole;
        if (once.turns.empty()) {
            whole.held = repeated(once.held, repetition.countMod12);
            return whole;
        }
        if (repetition.count > maxFaceTurns_ / once.turns.size()) {
            refuseLength();
        }
        for (std::uint64_t k = 0; k < repetition.count; ++k) {
            append(whole, once);
        }
        return whole;
    }

    [[noreturn]] void refuseLength() const {
        refuse(0, "expands to more than " + std::to_string(maxFaceTurns_) + " face turns");
    }

    void append(Piece& piece, const Piece& after) const {
        if (after.turns.size() > maxFaceTurns_ - piece.turns.size()) {
            refuseLength();
        }
        for (const MoveCode code : after.turns) {
            piece.turns.push_back(renamed(code, piece.held));
        }
        piece.held = followedBy(piece.held, after.held);
    }

    // Undoing a piece: its turns undone in reverse order, from the hold it ends in.
    static Piece inverted(const Piece& piece) {
        Piece inverse;
        inverse.held = inverseOf(piece.held);
        for (auto code = piece.turns.rbegin(); code != piece.turns.rend(); ++code) {
            inverse.turns.push_back(renamed(inverseMove(*code), inverse.held));
        }
        return inverse;
    }

    void readMove(Piece& piece) {
        const char letter = current();
        const std::size_t face = kFaceLetters.find(letter);
        const std::size_t wide = std::string_view("furbdl").find(letter);
        const std::size_t slice = std::string_view("MES").find(letter);
        const std::size_t rotation = std::string_view("xyz").find(letter);
        if (face == std::string_view::npos && wide == std::string_view::npos &&
            slice == std::string_view::npos && rotation == std::string_view::npos) {
            refuse(position(), quoted(letter) +
                                   " is not a move (a face F U R B D L, a wide turn Rw or r, a "
                                   "slice M E S, a rotation x y z, or \"(\" \"[\")");
        }
        ++at_;
        const bool wideByW = face != std::string_view::npos && next('w');
        if (wideByW) {
            ++at_;
        }
        const int quarterTurns = readQuarterTurns();
        const Piece move = [&] {
            if (wideByW || wide != std::string_view::npos) {
                return wideTurn(static_cast<int>(wideByW ? face : wide), quarterTurns);
            }
            if (slice != std::string_view::npos) {
                constexpr std::array<int, 3> kSliceFollows{kLeft, kDown, kFront};
                return sliceTurn(kSliceFollows[slice], quarterTurns);
            }
            if (rotation != std::string_view::npos) {
                constexpr std::array<int, 3> kRotationFollows{kRight, kUp, kFront};
                return wholeTurn(kRotationFollows[rotation], quarterTurns);
            }
            return faceTurn(static_cast<int>(face), quarterTurns);
        }();
        plain_ = plain_ && face != std::string_view::npos && !wideByW;
        append(piece, move);
    }

    // A move's suffix as clockwise quarter turns: nothing 1; 2, 2' or '2 two; ' or 3 three.
    int readQuarterTurns() {
        if (next('2')) {
            ++at_;
            if (next('\'')) {
                ++at_;
            }
            return 2;
        }
        if (next('\'')) {
            ++at_;
            if (next('2')) {
                ++at_;
                return 2;
            }
            return 3;
        }
        if (next('3')) {
            ++at_;
            return 3;
        }
        return 1;
    }

    static MoveCode codeOf(int face, int quarterTurns) { return face + 6 * (quarterTurns - 1); }

    static Piece faceTurn(int face, int quarterTurns) {
        Piece piece;
        piece.turns.push_back(codeOf(face, quarterTurns));
        return piece;
    }

    static Piece wholeTurn(int face, int quarterTurns) {
        Piece piece;
        for (int q = 0; q < quarterTurns; ++q) {
            piece.held = turnedWhole(piece.held, face);
        }
        return piece;
    }

    // The whole cube turned as the face, less the opposite face's layer.
    static Piece wideTurn(int face, int quarterTurns) {
        Piece piece = faceTurn(oppositeOf(face), quarterTurns);
        piece.held = wholeTurn(face, quarterTurns).held;
        return piece;
    }

    // The whole cube turned as the face, less the face's and the opposite face's layers.
    static Piece sliceTurn(int face, int quarterTurns) {
        Piece piece = faceTurn(oppositeOf(face), quarterTurns);
        piece.turns.push_back(codeOf(face, 4 - quarterTurns));
        piece.held = wholeTurn(face, quarterTurns).held;
        return piece;
    }
};

}  // namespace

MoveText readMoveText(std::string_view text, std::size_t maxFaceTurns) {
    MoveText result;
    Reader reader(text, maxFaceTurns);
    try {
        const Piece all = reader.readAll();
        // Named as the cube is held at the end.
        const Orientation placeOf = inverseOf(all.held);
        for (const MoveCode code : all.turns) {
            result.moves.push_back(renamed(code, placeOf));
        }
    } catch (const Refusal& refusal) {
        result.error = refusal.error;
        return result;
    }
    result.plainFaceTurns = reader.plainFaceTurns();
    result.cube = applySequence(solvedCube(), result.moves);
    return result;
}

std::string describeMoveTextError(const MoveTextError& error, std::string_view what) {
    if (error.position == 0) {
        return std::string(what) + " " + error.detail;
    }
    return "character " + std::to_string(error.position) + " of " + std::string(what) + ": " +
           error.detail;
}

}  // namespace cubega
