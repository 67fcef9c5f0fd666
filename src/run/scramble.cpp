#include "run/scramble.hpp"

#include <algorithm>

#include "genetic/simplification.hpp"

namespace cubega {

namespace {

std::int32_t askScrambleLength(ConsoleInput& input) {
    IntegerRule rule;
    rule.maximum = kMaxScrambleLength;
    rule.aboveMaximum = "A scramble can have at most 10000 moves.";
    const std::int32_t length =
        input.askInteger("Enter number of moves of the scramble", rule, "the scramble length");
    return std::max(length, 0);
}

MoveSequence typedScramble(std::int32_t length, ConsoleInput& input) {
    MoveSequence moves(static_cast<std::size_t>(length), 0);
    for (MoveCode& move : moves) {
        parseMove(input.readMoveText("every scramble move"), move);
    }
    return moves;
}

}  // namespace

MoveSequence drawRandomScramble(std::int32_t length, RandomSource& random) {
    MoveSequence moves(static_cast<std::size_t>(std::max(length, 0)));
    for (MoveCode& move : moves) {
        move = random.resetMove();
    }
    simplifyInPlace(moves, random);
    return moves;
}

Scramble setUpScramble(ScrambleType type, ConsoleInput& input, RecordWriter& console,
                       RandomSource& random) {
    Scramble scramble;
    if (type == ScrambleType::random) {
        scramble.moves = drawRandomScramble(askScrambleLength(input), random);
    } else if (type == ScrambleType::typed) {
        const std::int32_t length = askScrambleLength(input);
        console.write({"Enter the scramble moves. Only one move (HTM) per line !"});
        scramble.moves = typedScramble(length, input);
    } else {
        scramble.moves.assign(kDefaultScramble.begin(), kDefaultScramble.end());
    }
    scramble.text = movesToText(scramble.moves);
    return scramble;
}

CubeState applyScramble(const CubeState& cube, std::span<const MoveCode> moves,
                        RecordWriter& console) {
    for (const MoveCode code : moves) {
        if (!turnsAFace(code)) {
            console.write({"move error"});
        }
    }
    return applySequence(cube, moves);
}

void recordScramble(const Scramble& scramble, RecordWriter& console, RecordWriter& log) {
    console.write({scramble.text});
    log.write({"Scramble : "});
    log.write({scramble.text});
}

}  // namespace cubega
