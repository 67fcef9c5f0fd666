#include "run/transcript.hpp"

#include "cube/moves.hpp"
#include "eval/scores.hpp"
#include "stages/block_stage.hpp"

namespace cubega {

std::string_view rotationLine(Rotation rotation) {
    switch (rotation) {
        case Rotation::y:
            return "whole cube clockwise rotation around Oz (= y)";
        case Rotation::x:
            return "whole cube rotation around LR horizontal axis (=x)";
        case Rotation::xy:
            return "whole cube rotation around FUR corner (=xy)";
    }
    return "";
}

void writeProgressLine(RecordWriter& console, std::int32_t generation, const Evaluation& best,
                       std::int32_t meanObjective) {
    console.write({"Generation / elite/ moy. ", generation, best.objective, best.moveCount,
                   static_cast<float>(meanObjective)});
}

void Transcript::onEvent(const SolveEvent& event) {
    std::visit([this](const auto& happened) { render(happened); }, event);
}

// A block location's search begins with its header and the rotations that turn the cube to
// it (each y followed by an empty line).
void Transcript::render(const RunBegan& began) {
    if (began.at.stage != Stage::block) {
        return;
    }
    console_->writeBlank();
    console_->write({"------------2x2x3 position is : ", began.at.location, "       ----------"});
    for (const Rotation rotation : rotationsOfLocation(began.at.location)) {
        console_->write({rotationLine(rotation)});
        if (rotation == Rotation::y) {
            console_->writeBlank();
        }
    }
    if (began.twoFaces) {
        console_->write({"2-gen solve"});
    }
}

void Transcript::render(const ProgressPointReached& point) {
    writeProgressLine(*console_, point.generation, point.best, point.meanObjective);
}

void Transcript::render(const RunEnded& ended) {
    const Evaluation& best = ended.best;
    if (ended.at.stage == Stage::block) {
        console_->write({"optimal :"});
        console_->write({movesToText(ended.bestMoves)});
        console_->write({"perfo, # moves, entropy"});
        console_->write({best.objective, best.moveCount, bestScore(best)});
        if (bestScore(best) == kCompleteBlockScore) {
            console_->write({"This 2x2x3 was solved :)"});
        }
        console_->writeBlank();
    } else if (ended.at.stage == Stage::entry && best.moveCount == 1 && ended.startedInGroup) {
        console_->write({"Cube was already in the 2-gen group."});
    }
}

void Transcript::render(const RunExtended& extended) {
    switch (extended.stage) {
        case Stage::block:
            console_->write({"Adding generations to solve the 2x2x3: no good solution was found."});
            break;
        case Stage::entry:
            console_->write({"Adding 10'000 gen. to solve this part"});
            break;
        case Stage::finish:
            console_->write({"Adding 200 000 more generations to solve this stage."});
            break;
    }
}

void Transcript::render(const PassEnded&) {
    console_->writeBlank();
}

void Transcript::render(const LocationsRanked& ranked) {
    const auto& order = ranked.order;
    console_->write({"Best 2x2x3 locations : "});
    console_->write({order[0], order[1], order[2], order[3], order[4], order[5], order[6], order[7],
                     order[8], order[9], order[10], order[11]});
    console_->writeBlank();
    console_->write({"End of the 2x2x3 search."});
    console_->write({"Alg will now try to go into 2-gen for the best location."});
    console_->write({"Location searched : ", order[0]});
    console_->writeBlank();
}

void Transcript::render(const CubeRotated& rotated) {
    console_->write({rotationLine(rotated.rotation)});
    log_->write({rotationLine(rotated.rotation)});
}

void Transcript::render(const StageDone& done) {
    if (done.stage == Stage::entry) {
        console_->write({"Getting into 2-gen phase is done :)"});
        if (!done.moves.empty()) {
            console_->write({"optimal :"});
            console_->write({movesToText(done.moves)});
            console_->write({"# moves"});
            console_->write({done.best.moveCount});
        }
        console_->writeBlank();
    } else if (done.stage == Stage::finish) {
        console_->write({"optimal :"});
        console_->write({movesToText(done.moves)});
        console_->write({"fobj / # moves / entropy"});
        console_->write({done.best.objective, done.best.moveCount, bestScore(done.best)});
    }
}

}  // namespace cubega
