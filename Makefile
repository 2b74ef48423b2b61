# The project's commands. `make demo` and `make test` install what a fresh Debian machine lacks
# first, so each works alone on a new clone.

SANITIZE ?= 0
PREFIX ?= /usr/local
FUZZ_SECONDS ?= 20

ifeq ($(SANITIZE),1)
BUILD_DIR := build-asan
CMAKE_FLAGS := -DKX_SANITIZE=ON -DKX_BENCH=OFF
else
BUILD_DIR := build
CMAKE_FLAGS :=
endif
FUZZ_DIR := build-fuzz

.PHONY: all setup configure build test demo screenshots gallery bench fuzz install clean format po doc

all: build

setup:
	@scripts/install-deps

configure:
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR)

test: setup build
	@scripts/run-tests $(BUILD_DIR)

demo: setup build
	@scripts/run-demo $(BUILD_DIR)

screenshots: setup build
	@scripts/run-screenshots $(BUILD_DIR) docs/images

# The gallery runs on the user's display: every control of the library on a page of its own.
gallery: setup build
	@test -n "$$DISPLAY" || { echo "make gallery: no display (DISPLAY is not set)" >&2; exit 1; }
	@$(BUILD_DIR)/examples/gallery/kxGallery

bench: setup build
	@scripts/run-benchmarks $(BUILD_DIR)

fuzz: setup
	@cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
	    -DKX_FUZZ=ON -DKX_TESTS=OFF -DKX_BENCH=OFF -DKX_EXAMPLES=OFF >/dev/null
	@cmake --build $(FUZZ_DIR)
	@scripts/run-fuzzers $(FUZZ_DIR) $(FUZZ_SECONDS)

# The API reference from the public headers, in $(BUILD_DIR)/docs/html.
doc: setup configure
	@cmake --build $(BUILD_DIR) --target doc

install: build doc
	@cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# Regenerates po/kxRuzoVori.pot from the sources and merges new messages into po/*.po.
po:
	@scripts/catalog update

format:
	@git ls-files '*.h' '*.cpp' | xargs -r clang-format -i

clean:
	@rm -rf build build-asan $(FUZZ_DIR)
