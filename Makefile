# The two commands of the README. Both install missing Debian packages
# (when run as root), configure and build into build/.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all demo test setup configure build clean

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

clean:
	rm -rf $(BUILD)
