# Shared by scripts/test and scripts/fuzz: runs the libFuzzer targets of the
# fuzz build. The committed seeds are copied first, so a run never writes
# into the repository.

fuzz_targets() {
    local dir
    for dir in fuzz/corpus/*/; do basename "$dir"; done
}

# fuzz_run TARGET CORPUS_DIR ARTIFACT_DIR [libFuzzer options...]: one target
# from its seeds plus what CORPUS_DIR already holds; new inputs go to
# CORPUS_DIR, crash files to ARTIFACT_DIR. Fails on any finding.
fuzz_run() {
    local target=$1 corpus=$2 artifacts=$3
    shift 3
    mkdir -p "$corpus" "$artifacts"
    cp -n "fuzz/corpus/$target"/* "$corpus"/
    "build/fuzz/fuzz_$target" -artifact_prefix="$artifacts/" -timeout=10 -rss_limit_mb=1024 \
        -print_final_stats=1 "$@" "$corpus"
}
