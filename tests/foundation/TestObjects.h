// Framework classes the foundation tests build on: objects that count their live instances, and a
// persistent class with versions to store and read.
#pragma once

#include "foundation/ArchiveScope.h"
#include "foundation/Persistent.h"
#include "foundation/PersistentVersion.h"
#include "foundation/SmartImplementation.h"

#include <gtest/gtest.h>

#include <cstdint>

// Counts its live instances, so tests see leaks and double deletes.
class Tracked : public SmartImplementation {
    PW_CLASS_INFO(Tracked)
    PW_COPY_SLOTS

public:
    explicit Tracked(int value = 0);
    Tracked(const Tracked& other);
    Tracked& operator=(const Tracked& other) = default;
    ~Tracked() override;

    int value;
    static int live;
};

// A stored object. Version 2.0 writes `value` and, since 1.5, `extra`; readers of stored data
// older than 1.5 leave `extra` at -1. Versions from 1.0 on are readable.
class Sample : public Persistent, public SmartImplementation {
    PW_CLASS_INFO(Sample)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    explicit Sample(int32_t value = 0, int32_t extra = 0);
    explicit Sample(ArchiveScope& scope);
    Sample(const Sample& other);
    Sample& operator=(const Sample& other) = default;
    ~Sample() override;

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    int32_t value;
    int32_t extra;
    Fixed readVersion;
    bool skipped { false };
    static int live;
};

// A stored object whose Sample part is written in a nested scope, after its own field.
class Wrapper : public Persistent, public SmartImplementation {
    PW_CLASS_INFO(Wrapper)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    Wrapper(int32_t own, Sample inner);
    explicit Wrapper(ArchiveScope& scope);

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    int32_t own;
    Sample inner;
};

// Two classes joined by a conversion: a Photo converts into a Sketch (value + 1).
class Photo : public Tracked {
    PW_CLASS_INFO(Photo)
    PW_COPY_SLOTS

public:
    explicit Photo(int value = 0)
        : Tracked(value)
    {
    }
};

class Sketch : public Tracked {
    PW_CLASS_INFO(Sketch)
    PW_COPY_SLOTS

public:
    explicit Sketch(int value = 0)
        : Tracked(value)
    {
    }
};

// Tests whose tracked and stored sample objects must all be gone when they end: a leak or a double
// delete fails the test.
class CountedObjects : public ::testing::Test {
protected:
    void SetUp() override
    {
        trackedAtStart = Tracked::live;
        samplesAtStart = Sample::live;
    }
    void TearDown() override
    {
        EXPECT_EQ(Tracked::live, trackedAtStart) << "objects leaked or deleted twice";
        EXPECT_EQ(Sample::live, samplesAtStart) << "samples leaked or deleted twice";
    }

    int trackedAtStart { 0 };
    int samplesAtStart { 0 };
};
