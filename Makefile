# The commands of the README. Each installs missing Debian packages (when
# run as root) and configures and builds what it needs.
#
#   make test   the whole suite, each build in its own folder:
#               build/       Release, the build users install: the suite,
#                            the Python package installed into a fresh
#                            venv from that build (nothing compiles
#                            again), then the valgrind pass (label "valgrind": the
#                            tool's end-to-end tests with every kova process
#                            under valgrind memcheck, and every fuzz
#                            corpus replayed under it)
#               build-asan/  clang with AddressSanitizer, LeakSanitizer and
#                            UndefinedBehaviorSanitizer, plus a short smoke
#                            run of every fuzz target
#               build-tsan/  clang with ThreadSanitizer: every place where
#                            threads meet (validators in several threads,
#                            kova serve over a socket, batch and sweep, the
#                            Python module in several Python threads)
#   make fuzz   every fuzz target for FUZZ_SECONDS each (build-asan/)
#   make bench  the benchmarks and their figures (docs/performance.md)
#   make screenshot
#               the picture of kova serve's page in the README and
#               docs/serve.md (docs/serve-wizard.png), taken in headless
#               Chromium
#
# A sanitizer finding ends the test that made it with a failure.
BUILD ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
JOBS ?= $(shell nproc)
SANITIZER_CC ?= clang-14
SANITIZER_CXX ?= clang++-14
# Turns the addresses of sanitizer reports into file and line.
SYMBOLIZER ?= /usr/lib/llvm-14/bin/llvm-symbolizer
FUZZ_SECONDS ?= 600
# The interpreter the Python module is built for (python/CMakeLists.txt).
PYTHON ?= /usr/bin/python3
# The tests that run validators in several threads at once.
THREAD_TEST = ^(Threads\.CopiesOfOneLoadedValidatorRunInParallel|Batch\.OutcomesLeaveInItemOrder|BatchAndSweep\..*|serve_http|python_threads)$$
THREAD_TARGETS = tests_expr tests_validator tests_session tests_tools kova kova_rules_python kova_tsan_python

# The two builds that CI makes from nothing beside the Release one are
# made for speed of building: -O1 (the sanitizers' own advice, a fifth less
# compile time than -O2), line tables rather than full debug information
# (reports still give file and line), and unity builds, which compile the
# sources of a target a few at a time in one unit, so that the shared
# headers are read and their templates compiled once per unit rather than
# once per file (about a third of the compile time).
SANITIZER_FLAGS = -O1 -gline-tables-only -DNDEBUG
SANITIZER_CONFIGURE = cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_UNITY_BUILD=ON \
	-DCMAKE_C_COMPILER=$(SANITIZER_CC) -DCMAKE_CXX_COMPILER=$(SANITIZER_CXX) \
	-DCMAKE_C_FLAGS_RELWITHDEBINFO="$(SANITIZER_FLAGS)" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$(SANITIZER_FLAGS)"
# Leaks are reported at exit; every finding fails with a stack trace.
SANITIZER_ENV = \
	ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1:external_symbolizer_path=$(SYMBOLIZER) \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:external_symbolizer_path=$(SYMBOLIZER) \
	TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:external_symbolizer_path=$(SYMBOLIZER)
CTEST = ctest --output-on-failure -j $(JOBS)

.PHONY: all demo test test-plain test-python-install test-valgrind test-asan test-tsan fuzz setup configure build \
	asan-build tsan-build bench screenshot clean

all: build

setup:
	./scripts/setup-deps

configure: setup
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release

build: configure
	cmake --build $(BUILD) -j $(JOBS)

demo: build
	$(BUILD)/tools/kova show examples/fifo.xml

test: test-plain test-python-install test-valgrind test-tsan test-asan

test-plain: build
	@echo "== the suite on the Release build ($(BUILD)) =="
	$(CTEST) --test-dir $(BUILD) -LE valgrind

# pip install --no-build-isolation . into a temporary venv, against the
# Release build just made; mypy --strict on examples/python against it.
test-python-install: build
	@echo "== the Python package installed into a fresh venv ($(BUILD)) =="
	./scripts/check-python-install $(BUILD) $(PYTHON)

test-valgrind: build
	@echo "== the tool's end-to-end tests and the fuzz corpora under valgrind memcheck ($(BUILD)) =="
	$(CTEST) --test-dir $(BUILD) -L valgrind

asan-build: setup
	$(SANITIZER_CONFIGURE) -S . -B $(ASAN_BUILD) -DKOVA_SANITIZE=address,undefined -DKOVA_FUZZ=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)

test-asan: asan-build
	@echo "== the suite and the fuzz smoke runs under AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer ($(ASAN_BUILD)) =="
	$(SANITIZER_ENV) $(CTEST) --test-dir $(ASAN_BUILD)

tsan-build: setup
	$(SANITIZER_CONFIGURE) -S . -B $(TSAN_BUILD) -DKOVA_SANITIZE=thread
	cmake --build $(TSAN_BUILD) -j $(JOBS) --target $(THREAD_TARGETS)

test-tsan: tsan-build
	@echo "== the thread tests under ThreadSanitizer ($(TSAN_BUILD)) =="
	$(SANITIZER_ENV) $(CTEST) --test-dir $(TSAN_BUILD) -R '$(THREAD_TEST)'

fuzz: asan-build
	@echo "== every fuzz target for $(FUZZ_SECONDS) s ($(ASAN_BUILD)) =="
	KOVA_FUZZ_SECONDS=$(FUZZ_SECONDS) $(SANITIZER_ENV) $(CTEST) --test-dir $(ASAN_BUILD) -L fuzz \
		--timeout $$(( $(FUZZ_SECONDS) + 300 ))

# Builds the benchmark suite and runs it; the summary table comes last.
# Then the scripts, kova serve's page last: it runs under $(PYTHON), for
# Debian's selenium module, and says it is skipped when Chromium is missing.
bench: configure
	cmake --build $(BUILD) -j $(JOBS) --target kova_bench
	$(BUILD)/bench/kova_bench --benchmark_repetitions=3 --benchmark_color=false
	cmake --build $(BUILD) -j $(JOBS) --target kova
	python3 bench/validate_scale.py $(BUILD)/tools/kova
	python3 bench/lint_scale.py $(BUILD)/tools/kova
	python3 bench/batch_rate.py $(BUILD)/tools/kova
	python3 bench/sweep_rate.py $(BUILD)/tools/kova
	python3 bench/lsp_latency.py $(BUILD)/tools/kova
	cmake --build $(BUILD) -j $(JOBS) --target kova_rules_python
	$(PYTHON) bench/python_overhead.py $(BUILD)
	python3 bench/fix_scale.py $(BUILD)/tools/kova
	python3 bench/menu_scale.py $(BUILD)/tools/kova
	$(PYTHON) bench/serve_page.py $(BUILD)/tools/kova

screenshot: configure
	cmake --build $(BUILD) -j $(JOBS) --target kova
	$(PYTHON) scripts/serve-screenshot $(BUILD)/tools/kova docs/serve-wizard.png

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD)
