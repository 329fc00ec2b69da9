# The two commands of the README. Both install missing Debian packages
# (when run as root), configure and build into build/.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all demo test bench setup configure build clean

all: build

setup:
	./scripts/setup-deps

configure: setup
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

demo: build
	$(BUILD)/tools/kova show examples/fifo.xml

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# Builds the benchmark suite and runs it; the summary table comes last.
bench: configure
	cmake --build $(BUILD) -j $(JOBS) --target kova_bench
	$(BUILD)/bench/kova_bench --benchmark_repetitions=3 --benchmark_color=false

clean:
	rm -rf $(BUILD)
