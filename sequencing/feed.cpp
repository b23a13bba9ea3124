#include "sequencing/feed.h"

#include "controller/commands.h"
#include "controller/tools.h"
#include "records/progress.h"
#include "sequencing/queue.h"
#include "sequencing/tooling.h"
#include "sequencing/trace.h"

namespace {

constexpr float kPitch = 12.0f;  // bend notches and bend cycles recur every foot

// Every strip move of a feed, counted as material fed.
void move(float d) {
    strip_move(d);
    progress.fed += d;
}

float& foot = seq.foot;
float& distance_to_bend = seq.distance_to_bend;

// The queued-notch step: fires every queued 100-degree notch that falls due
// before the bound, which is read again at every turn.
void queued_notches_up_to(const float& bound, float& L) {
    while (!queue_empty() && !(queue_head() > bound)) {
        float h = queue_head();
        trace(texts::move_queue, h);
        move(h);
        trace(texts::fire100);
        notch_two();
        foot -= h;
        L -= h;
        distance_to_bend -= h;
        pop(h);
    }
}

// The bend notch: up to the next bend notch point, and a 30-degree notch there.
void bend_notch(float& L) {
    trace(texts::move_bend_notch, foot);
    move(foot);
    trace(texts::force);
    f_notch();
    L -= foot;
    distance_to_bend -= foot;
    shift(foot);
    foot = kPitch;
}

// The bend cycle: up to the next bend cycle point, and a flange bend there.
void bend_cycle(float& L) {
    trace(texts::move_bend_cycle, distance_to_bend);
    move(distance_to_bend);
    trace(texts::bend_cycle);
    bend();
    L -= distance_to_bend;
    foot -= distance_to_bend;
    shift(distance_to_bend);
    distance_to_bend = kPitch;
}

// Once the countdowns run together: a bend notch and a bend cycle at every
// foot while more than a foot is left. The queue is not looked at here.
void bend_notches_and_cycles(float& L) {
    while (L > foot) {
        trace(texts::move_bend_notch, foot);
        move(foot);
        trace(texts::force);
        f_notch();
        L -= foot;
        shift(foot);
        foot = kPitch;
        distance_to_bend = kPitch;
        trace(texts::bend_cycle);
        bend();
    }
}

// The rest of the length, to its end.
void rest_of_length(float L) {
    trace(texts::remaining, L);
    move(L);
    foot -= L;
    distance_to_bend -= L;
    shift(L);
}

}  // namespace

int feed_case(float length, float foot, float distance_to_bend) {
    int test = 0;
    if (length > foot) test += 1;
    if (length > distance_to_bend) test += 2;
    if (test == 0 && distance_to_bend > foot) test = 4;
    if (test == 3 && distance_to_bend > foot) test = 5;
    return test;
}

void feed(float length) {
    float L = length;
    trace(texts::feed_wall, length);
    int test = feed_case(length, foot, distance_to_bend);
    trace_case(test);
    switch (test) {
    case 1:
        queued_notches_up_to(foot, L);
        bend_notch(L);
        break;
    case 2:
        queued_notches_up_to(distance_to_bend, L);
        bend_cycle(L);
        break;
    case 3:
        queued_notches_up_to(distance_to_bend, L);
        bend_cycle(L);
        queued_notches_up_to(foot, L);
        bend_notch(L);
        break;
    case 5:
        queued_notches_up_to(foot, L);
        bend_notch(L);
        queued_notches_up_to(distance_to_bend, L);
        bend_cycle(L);
        if (!(foot > 0.0f)) {
            trace(texts::force);
            f_notch();
            foot = kPitch;
        }
        break;
    default: break;  // cases 0 and 4: nothing falls due before the end
    }
    queued_notches_up_to(L, L);
    if (test == 3 || test == 5) bend_notches_and_cycles(L);
    rest_of_length(L);
}
