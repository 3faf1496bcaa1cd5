# Formwright: `make run` opens what can run so far, `make test` runs the whole suite.
# Both install missing Debian packages first (scripts/install-deps).

BUILD_DIR   ?= build
ASAN_DIR    ?= build-asan
BUILD_TYPE  ?= RelWithDebInfo
WERROR      ?= OFF
JOBS        ?= $(shell nproc)

CMAKE_FLAGS = -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DFORMWRIGHT_WERROR=$(WERROR)

.PHONY: all deps build build-asan test test-fast run format clean

all: build

deps:
	@scripts/install-deps

$(BUILD_DIR)/build.ninja: | deps
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)

build: deps $(BUILD_DIR)/build.ninja
	cmake $(BUILD_DIR) -DFORMWRIGHT_WERROR=$(WERROR) > /dev/null
	cmake --build $(BUILD_DIR) -j $(JOBS)

# The toolkit-free layers once more under AddressSanitizer and UBSan.
build-asan: deps
	cmake -S . -B $(ASAN_DIR) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Debug -DFORMWRIGHT_SANITIZE=ON > /dev/null
	cmake --build $(ASAN_DIR) -j $(JOBS)

test: build build-asan
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(ASAN_DIR) --output-on-failure -j $(JOBS)

# The normal build only, for a quick check while working.
test-fast: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

run: build
	@echo
	@echo "Formwright is built. The desktop editor and formwright-tool are not part of"
	@echo "this build yet; what runs today is the model and its test suite:"
	@echo "    make test"
	@echo "Libraries: $(BUILD_DIR)/services, $(BUILD_DIR)/render, $(BUILD_DIR)/model"

format:
	find services render model tests -name '*.h' -o -name '*.cpp' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR)
