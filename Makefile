# Formwright: `make run` starts the editor on a sample, `make test` runs the whole suite.
# Both install missing Debian packages first (scripts/install-deps).

BUILD_DIR   ?= build
ASAN_DIR    ?= build-asan
BUILD_TYPE  ?= RelWithDebInfo
WERROR      ?= OFF
JOBS        ?= $(shell nproc)
FUZZ_DIR    ?= build-fuzz
BENCH_DIR   ?= build-bench
BENCH_GUI_DIR ?= build-bench-gui
# `make install` puts the programs in $(DESTDIR)$(PREFIX)/bin and their data in
# $(DESTDIR)$(PREFIX)/share/formwright.
PREFIX      ?= /usr/local
DESTDIR     ?=
# Total fuzzing time of `make fuzz`, shared equally by the targets; with
# SECONDS=N each target runs N seconds instead.
FUZZ_SECONDS ?= 60
FUZZ_TARGETS = fuzz_read_file fuzz_text_form fuzz_editor_script fuzz_filter fuzz_language_file \
  fuzz_object_model fuzz_settings
# Seeds besides fuzz/corpus/<target>: the inputs the product ships and tests with.
FUZZ_SEEDS_fuzz_read_file = data/samples tests/fixtures
FUZZ_SEEDS_fuzz_editor_script = tests/fixtures/scripts tests/fixtures/random-edits
FUZZ_SEEDS_fuzz_language_file = data/lang
FUZZ_SEEDS_fuzz_object_model = data/model
FUZZ_EACH = $(or $(SECONDS),$$(( $(FUZZ_SECONDS) / $(words $(FUZZ_TARGETS)) )))

# GLib's slice allocator would hide leaks from LeakSanitizer; the toolkit's own
# leaks are listed in tests/lsan.supp. GTK's accessibility bridge holds its bus
# connection until exit, and the window tests have no accessibility bus.
SANITIZER_ENV = G_SLICE=always-malloc NO_AT_BRIDGE=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

CMAKE_FLAGS = -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DFORMWRIGHT_WERROR=$(WERROR)

.PHONY: all deps build build-programs build-asan test test-fast fuzz bench bench-gui run screenshot install deb format clean

all: build

deps:
	@scripts/install-deps

$(BUILD_DIR)/build.ninja: | deps
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)

build: deps $(BUILD_DIR)/build.ninja
	cmake $(BUILD_DIR) -DFORMWRIGHT_WERROR=$(WERROR) > /dev/null
	cmake --build $(BUILD_DIR) -j $(JOBS)

# The editor and formwright-tool (with their manual pages) only, without the
# tests and benchmarks.
build-programs: deps $(BUILD_DIR)/build.ninja
	cmake $(BUILD_DIR) -DFORMWRIGHT_WERROR=$(WERROR) > /dev/null
	cmake --build $(BUILD_DIR) -j $(JOBS) --target formwright formwright-tool formwright_packaging

# The programs, their data, desktop entry, file type, icons, metainfo, manual
# pages and bash completion under PREFIX (staged below DESTDIR when set).
install: build-programs
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"

# $(BUILD_DIR)/formwright_VERSION_amd64.deb, installed under /usr, stripped.
deb: build-programs
	cd $(BUILD_DIR) && cpack -G DEB

# Everything once more under AddressSanitizer and UBSan, the desktop program
# and its window tests included.
build-asan: deps
	cmake -S . -B $(ASAN_DIR) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Debug -DFORMWRIGHT_SANITIZE=ON \
	  -DFORMWRIGHT_GUI=ON > /dev/null
	cmake --build $(ASAN_DIR) -j $(JOBS)

test: build build-asan
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)
	$(SANITIZER_ENV) ctest --test-dir $(ASAN_DIR) --output-on-failure -j $(JOBS)
	$(MAKE) fuzz

# The parsers of outside input under libFuzzer (clang, with ASan and UBSan),
# each for its share of FUZZ_SECONDS. New inputs go to $(FUZZ_DIR)/corpus, the
# committed seeds, samples and fixtures are only read; a crash or sanitizer
# report fails the target and leaves the input in $(FUZZ_DIR)/crashes.
#   make fuzz SECONDS=600    each target for ten minutes
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DFORMWRIGHT_FUZZ=ON -DFORMWRIGHT_TESTS=OFF -DFORMWRIGHT_BENCH=OFF -DFORMWRIGHT_GUI=OFF > /dev/null
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target $(FUZZ_TARGETS)
	@mkdir -p $(FUZZ_DIR)/crashes
	@set -e; $(foreach target,$(FUZZ_TARGETS),$(call fuzz_run,$(target));)

# One target; painting leaves fontconfig's lookups to exit, as in the sanitizer run.
fuzz_run = mkdir -p $(FUZZ_DIR)/corpus/$(1); echo "fuzz: $(1) for $(FUZZ_EACH) s"; \
  FORMWRIGHT_DATA_DIR=$(CURDIR)/data FORMWRIGHT_CONFIG_FILE=/nonexistent G_SLICE=always-malloc \
  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp ASAN_OPTIONS=detect_leaks=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    $(FUZZ_DIR)/fuzz/$(1) -max_total_time=$(FUZZ_EACH) -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix=$(FUZZ_DIR)/crashes/$(1)- \
      $(FUZZ_DIR)/corpus/$(1) fuzz/corpus/$(1) $(wildcard $(FUZZ_SEEDS_$(1)))

# Reading and writing large forms against the pugixml floor, drawing one
# against bare cairo, and the canvas editor's repaint, group drag and undo
# snapshot against their floors, in a Release build.
bench: deps
	cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DFORMWRIGHT_TESTS=OFF \
	  -DFORMWRIGHT_BENCH=ON -DFORMWRIGHT_GUI=OFF > /dev/null
	cmake --build $(BENCH_DIR) -j $(JOBS) --target bench_read_write bench_render bench_editor bench_history
	FORMWRIGHT_DATA_DIR=$(CURDIR)/data FORMWRIGHT_CONFIG_FILE=/nonexistent $(BENCH_DIR)/bench/bench_read_write
	FORMWRIGHT_DATA_DIR=$(CURDIR)/data FORMWRIGHT_CONFIG_FILE=/nonexistent $(BENCH_DIR)/bench/bench_render
	FORMWRIGHT_DATA_DIR=$(CURDIR)/data FORMWRIGHT_CONFIG_FILE=/nonexistent $(BENCH_DIR)/bench/bench_editor
	FORMWRIGHT_DATA_DIR=$(CURDIR)/data FORMWRIGHT_CONFIG_FILE=/nonexistent $(BENCH_DIR)/bench/bench_history

# A group drag in the real main window under a virtual display, with the
# properties pane shown and hidden, in a Release build of the program.
bench-gui: deps
	cmake -S . -B $(BENCH_GUI_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DFORMWRIGHT_TESTS=OFF \
	  -DFORMWRIGHT_BENCH=ON -DFORMWRIGHT_GUI=ON > /dev/null
	cmake --build $(BENCH_GUI_DIR) -j $(JOBS) --target bench_window_drag
	FORMWRIGHT_DATA_DIR=$(CURDIR)/data FORMWRIGHT_CONFIG_FILE=/nonexistent \
	  xvfb-run -a -s "-screen 0 1600x1200x24" $(BENCH_GUI_DIR)/bench/bench_window_drag

# The normal build only, for a quick check while working.
test-fast: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

# Without a desktop the target still builds and checks, then says how to take
# a look under a virtual display and ends with status 0: nothing failed, there
# is only no screen to show the window on.
run: build-programs
	@echo
	@echo "Checking and drawing the shipped sample forms with formwright-tool:"
	@for f in data/samples/*.xml; do \
	  FORMWRIGHT_DATA_DIR=$(CURDIR)/data $(BUILD_DIR)/tools/formwright-tool check $$f; \
	  FORMWRIGHT_DATA_DIR=$(CURDIR)/data $(BUILD_DIR)/tools/formwright-tool render $$f \
	    -o $(BUILD_DIR)/$$(basename $$f .xml).png; \
	done
	@echo "The editor window after a script of clicks, keys and menu choices:"
	@FORMWRIGHT_DATA_DIR=$(CURDIR)/data $(BUILD_DIR)/tools/formwright-tool render tests/fixtures/PUMP_Fields.xml \
	  --editor --script tests/fixtures/scripts/menus-and-tab-order.script -o $(BUILD_DIR)/PUMP_Fields-editor.png
	@echo
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  echo "The editor needs a desktop, and this session has none (neither DISPLAY nor WAYLAND_DISPLAY is set)."; \
	  echo "To see it without one, take a picture under a virtual display and open the PNG:"; \
	  echo "  FORMWRIGHT_DATA_DIR=$(CURDIR)/data xvfb-run -a -s \"-screen 0 1600x1200x24\" \\"; \
	  echo "    $(BUILD_DIR)/app/formwright data/samples/PUMP_Main.xml --screenshot $(BUILD_DIR)/PUMP_Main-window.png"; \
	  echo "or run make screenshot, which redraws the pictures in docs/."; \
	else \
	  echo "Starting the editor on data/samples/PUMP_Main.xml (formwright --help lists its options)."; \
	  FORMWRIGHT_DATA_DIR=$(CURDIR)/data $(BUILD_DIR)/app/formwright data/samples/PUMP_Main.xml; \
	fi

# A picture of the main window on the pump sample, taken under a virtual display.
screenshot: build-programs
	scripts/screenshot $(BUILD_DIR) docs

format:
	find services render model controls editor tools bench fuzz tests -name '*.h' -o -name '*.cpp' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR) $(BENCH_DIR) $(BENCH_GUI_DIR)
