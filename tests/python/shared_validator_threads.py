"""Threads that share one validator, run by test_kova_rules.py in a fresh
interpreter so that explain()'s first call (the first import of json) meets
the other threads mid-work: a method that called into the interpreter
while holding the validator's lock would hang here, and the caller's
timeout fails it. One thread switches WIDTH between a valid value and a
conflicting one; every answer of every other thread must be the answer
that one of those two configurations gives on its own.

Usage: shared_validator_threads.py [ROUNDS]; prints how many answers it
checked."""
import sys
import threading

assert "json" not in sys.modules, "explain's first call must be the first import of json"

import kova_rules  # noqa: E402

ROUNDS = int(sys.argv[1]) if len(sys.argv) > 1 else 300
WIDTHS = ("32", "13")  # valid, and in conflict with byte enables


def run_answer(validator):
    result = validator.run()
    return result.valid, [str(message) for message in result.messages]


def generated(validator):
    try:
        return validator.generate("verilog")
    except ValueError as error:  # the conflicting configuration
        return "ValueError: " + str(error)


# (name, a question asked of the shared validator in a loop by a thread of its own)
QUESTIONS = [
    ("explain", lambda v: v.explain("WIDTH")),
    ("run", run_answer),  # not the whole Result: a run's silent corrections stay when WIDTH switches back
    ("widths", lambda v: v.widths()),
    ("eval", lambda v: v.eval("WE_WIDTH")),
    ("ranges", lambda v: v.ranges("dina").width),
    ("deps", lambda v: v.deps("wea")),  # the same in both: the rules' names
    ("parameters", lambda v: [(p.name, p.value, p.usage) for p in v.parameters]),
    ("fix", lambda v: v.fix(dry_run=True).changes),
    ("item", lambda v: v["WIDTH"].value),
    # A Result builds its document from the session its run left, which the
    # validator shares until it changes its own: a race there fails under
    # ThreadSanitizer, a change seen by the Result fails the comparison.
    ("document", lambda v: [o["usage"] for o in v.run().to_dict()["ports"]]),
    ("generate", generated),
    ("copy", lambda v: run_answer(v.copy())),
]


def configured(width):
    validator = kova_rules.load("examples/ram.xml")
    validator.load_settings("examples/ram-dual.settings")
    validator.set("WIDTH", width)
    return validator


def main():
    sys.setswitchinterval(1e-5)  # the interpreter lock changes hands often
    shared = configured(WIDTHS[0])
    answers = {name: [] for name, _ in QUESTIONS}
    # Every round starts all threads at once, the switch among them.
    round_start = threading.Barrier(len(QUESTIONS) + 1)

    def ask(name, question):
        for _ in range(ROUNDS):
            round_start.wait()
            answers[name].append(question(shared))

    def switch():
        for round_ in range(ROUNDS):
            round_start.wait()
            shared.set_many({"WIDTH": WIDTHS[round_ % 2]})

    threads = [threading.Thread(target=ask, args=question) for question in QUESTIONS]
    threads.append(threading.Thread(target=switch))
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()

    alone = [configured(width) for width in WIDTHS]
    for name, question in QUESTIONS:
        expected = [question(validator) for validator in alone]
        assert len(answers[name]) == ROUNDS, f"{name}: a thread stopped early"
        wrong = [answer for answer in answers[name] if answer not in expected]
        assert not wrong, f"{name}: {wrong[0]!r} is the answer of neither configuration"
    print(f"{ROUNDS * len(QUESTIONS)} answers checked")


main()
