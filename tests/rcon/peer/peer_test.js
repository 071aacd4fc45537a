// Checks the fake RCON server against an independent client, the npm
// package rcon-client, so that our client and our fake cannot agree on a
// mistake. Run: FAKE_RCON_SERVER=<path> node --test peer_test.js
"use strict";
const test = require("node:test");
const assert = require("node:assert");
const { spawn } = require("node:child_process");
const fs = require("node:fs");
const net = require("node:net");
const os = require("node:os");
const path = require("node:path");
const { Rcon } = require("rcon-client");
const { createSplitter } = require("rcon-client/lib/splitter");
const { decodePacket } = require("rcon-client/lib/packet");

const serverPath = process.env.FAKE_RCON_SERVER;
const workDir = fs.mkdtempSync(path.join(os.tmpdir(), "rcon-peer-"));
let servers = 0;
test.after(() => fs.rmSync(workDir, { recursive: true, force: true }));

// Starts the fake server; resolves with its port and log path once it listens.
function startServer(t, ...args) {
    const log = path.join(workDir, `log${++servers}.txt`);
    const child = spawn(serverPath, ["--port", "0", "--password", "pw", "--log", log, ...args],
                        { stdio: ["ignore", "pipe", "inherit"] });
    t.after(() => child.kill());
    return new Promise((resolve, reject) => {
        child.on("error", reject);
        child.on("exit", code => reject(new Error(`fake server exited with ${code}`)));
        child.stdout.on("data", data => {
            const match = /listening on 127\.0\.0\.1:(\d+)/.exec(data.toString());
            if (match) resolve({ port: Number(match[1]), log });
        });
    });
}

async function connect(port, options = {}) {
    return Rcon.connect({ host: "127.0.0.1", port, password: "pw", timeout: 2000, ...options });
}

// Every packet the server sends, as rcon-client's own splitter cuts them.
function packetsOf(rcon) {
    const packets = [];
    rcon.socket.pipe(createSplitter()).on("data", data => packets.push(decodePacket(data)));
    return packets;
}

// The raw bytes that arrive on a fresh connection after a login.
async function rawAnswer(port, command) {
    const socket = net.connect(port, "127.0.0.1");
    await new Promise(resolve => socket.once("connect", resolve));
    const packet = (id, type, body) => {
        const payload = Buffer.from(body);
        const out = Buffer.alloc(payload.length + 14);
        out.writeInt32LE(payload.length + 10, 0);
        out.writeInt32LE(id, 4);
        out.writeInt32LE(type, 8);
        payload.copy(out, 12);
        return out;
    };
    const chunks = [];
    socket.on("data", chunk => chunks.push(chunk));
    socket.write(packet(1, 3, "pw"));
    socket.write(packet(2, 2, command));
    await new Promise(resolve => socket.once("close", resolve));
    return Buffer.concat(chunks);
}

const waitMs = ms => new Promise(resolve => setTimeout(resolve, ms));

test("normal: answers every command and logs the bodies in order", async t => {
    const { port, log } = await startServer(t);
    const rcon = await connect(port);
    assert.strictEqual(await rcon.send("rpgitem sword create"), "ok: rpgitem sword create");
    assert.strictEqual(await rcon.send("rpgitem sword display 中文"), "ok: rpgitem sword display 中文");
    await rcon.end();
    assert.strictEqual(fs.readFileSync(log, "utf8"), "rpgitem sword create\nrpgitem sword display 中文\n");
});

test("normal: raw bytes are kept as they are (中 in gbk)", async t => {
    const { port, log } = await startServer(t);
    const rcon = await connect(port);
    const answer = await rcon.sendRaw(Buffer.from([0x61, 0xd6, 0xd0]));
    await rcon.end();
    assert.deepStrictEqual(answer, Buffer.from([0x6f, 0x6b, 0x3a, 0x20, 0x61, 0xd6, 0xd0]));
    assert.deepStrictEqual(fs.readFileSync(log), Buffer.from([0x61, 0xd6, 0xd0, 0x0a]));
});

test("normal: another packet type is answered with its id like a real server", async t => {
    const { port } = await startServer(t);
    const rcon = await connect(port);
    const echo = await rcon.sendPacket(0, Buffer.alloc(0));
    assert.strictEqual(echo.payload.toString(), "Unknown request 0");
    assert.strictEqual(await rcon.send("list"), "ok: list");
    await rcon.end();
});

test("wrong password and the refuse mode fail the login", async t => {
    const normal = await startServer(t);
    await assert.rejects(connect(normal.port, { password: "wrong" }), /Authentication failed/);
    const refusing = await startServer(t, "--mode", "refuse");
    await assert.rejects(connect(refusing.port), /Authentication failed/);
});

test("a body over 1446 bytes closes the connection; 1446 is answered", async t => {
    const { port } = await startServer(t);
    const rcon = await connect(port);
    assert.strictEqual(await rcon.send("x".repeat(1446)), "ok: " + "x".repeat(1446));
    await assert.rejects(rcon.send("x".repeat(1447)), /Connection closed/);
});

test("split: one answer over several packets of at most 4096 bytes", async t => {
    const { port } = await startServer(t, "--mode", "split");
    const rcon = await connect(port);
    const packets = packetsOf(rcon);
    const first = await rcon.send("list");
    await waitMs(200);
    await rcon.end();
    const pieces = packets.filter(p => p.id === 1);
    assert.strictEqual(pieces.length, 3);
    assert.ok(pieces.every(p => p.payload.length <= 4096 && p.type === 0));
    assert.strictEqual(first, pieces[0].payload.toString());
    assert.strictEqual(Buffer.concat(pieces.map(p => p.payload)).toString(), "ok: list " + "x".repeat(9000));
});

test("slow: the answer comes after the delay", async t => {
    const { port } = await startServer(t, "--mode", "slow", "--delay-ms", "600");
    const impatient = await connect(port, { timeout: 200 });
    await assert.rejects(impatient.send("list"), /Timeout/);
    const patient = await connect(port, { timeout: 3000 });
    assert.strictEqual(await patient.send("list"), "ok: list");
    await patient.end();
});

test("close: the command after N answered ones closes the connection", async t => {
    const { port, log } = await startServer(t, "--mode", "close", "--after", "2");
    const rcon = await connect(port);
    assert.strictEqual(await rcon.send("one"), "ok: one");
    assert.strictEqual(await rcon.send("two"), "ok: two");
    await assert.rejects(rcon.send("three"), /Connection closed/);
    assert.strictEqual(fs.readFileSync(log, "utf8"), "one\ntwo\nthree\n");
});

test("malformed and oversized: the answer's length field", async t => {
    const cases = [["malformed", 5], ["oversized", 0x7ffffff0]];
    for (const [mode, length] of cases) {
        const { port } = await startServer(t, "--mode", mode);
        const bytes = await rawAnswer(port, "list");
        // The login answer (14 bytes, id 1, type 2), then the bad packet.
        assert.strictEqual(bytes.readInt32LE(0), 10, mode);
        assert.strictEqual(bytes.readInt32LE(4), 1, mode);
        assert.strictEqual(bytes.readInt32LE(8), 2, mode);
        assert.strictEqual(bytes.readInt32LE(14), length, mode);
        assert.strictEqual(bytes.readInt32LE(18), 2, mode);
    }
});
