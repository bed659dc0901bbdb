"""Workbooks the command line writes, read back by openpyxl; price lists openpyxl and the
program write, imported. Run with the system interpreter (python3-openpyxl):
    /usr/bin/python3 workbook_test.py TALLYFRAME_CLI
"""

import csv
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
import zipfile

import openpyxl

CLI = sys.argv.pop(1) if len(sys.argv) > 1 else "tallyframe-cli"


def run(*args, ok=True):
    result = subprocess.run([CLI, *args], capture_output=True, text=True)
    if ok and result.returncode != 0:
        raise AssertionError(f"{args}: {result.returncode}\n{result.stderr}")
    return result


def tsv(*args):
    return [line.split("\t") for line in run(*args).stdout.splitlines() if line]


def both(path):
    """The workbook with its formulas, and with the values cached beside them."""
    return openpyxl.load_workbook(path), openpyxl.load_workbook(path, data_only=True)


class ExportTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.TemporaryDirectory()
        cls.project = os.path.join(cls.dir.name, "sample.gdb")
        run("sample", cls.project)

    @classmethod
    def tearDownClass(cls):
        cls.dir.cleanup()

    def export(self, name, *args):
        path = os.path.join(self.dir.name, name)
        run("export", self.project, *args, path)
        return both(path)

    def test_all_writes_every_table_once_under_its_own_name(self):
        book, cached = self.export("all.xlsx", "--all")
        tables = ["分析表", "材料表", "统计表", "分统计表", "累计统计表"]
        self.assertEqual(book.sheetnames, tables)
        book, _ = self.export("node.xlsx", "--all", "--node", "3")
        self.assertEqual(book.sheetnames, tables)
        self.assertEqual(book["分统计表"]["B1"].value, "材料名称", "the work item of node 3")
        book, _ = self.export("filtered.xlsx", "--all", "--filter", "1层客厅")
        self.assertEqual(book.sheetnames, tables + ["筛选结果统计表"])
        self.assertEqual({book["累计统计表"][f"B{r}"].value for r in range(2, 4)} - {None},
                         {"1层客厅"})
        self.assertTrue(book["筛选结果统计表"]["F2"].value.startswith("='材料表'!F"))

        book, _ = self.export("all.xlsx", "--all")
        for sheet in book:
            headings = 2 if sheet.title == "分析表" else 1
            for r in range(headings + 1, sheet.max_row + 1):
                row = [c.value for c in sheet[r]]
                self.assertTrue(any(v is not None for v in row[1:]), (sheet.title, r, row))
            self.assertIsInstance(sheet["A" + str(headings + 1)].value, int, sheet.title)
        self.assertEqual(book["材料表"].max_row, 61, "sixty materials, no fresh rows")
        # 统计表 ends in a total of its costs; the other statistics in their 小计.
        summary = book["统计表"]
        last = summary.max_row
        self.assertEqual(summary[f"C{last}"].value, "合计")
        self.assertEqual(summary[f"G{last}"].value, f"=SUM(G2:G{last - 1})")
        self.assertAlmostEqual(cached["统计表"][f"G{last}"].value,
                               sum(cached["统计表"][f"G{r}"].value for r in range(2, last)),
                               places=6)
        for name in ["分统计表", "累计统计表"]:
            self.assertIn("小计：", [c.value for c in book[name][book[name].max_row]], name)

    def test_analysis_sheet_looks_like_the_table(self):
        book, _ = self.export("analysis.xlsx", "--table", "分析表")
        sheet = book["分析表"]
        merged = {str(r) for r in sheet.merged_cells.ranges}
        self.assertTrue({"A1:A2", "B1:B2", "E1:J1"} <= merged, merged)
        self.assertEqual(sheet.freeze_panes, "B3")
        # The three working columns are left out: 说明 is the last.
        self.assertEqual(sheet.max_column, 11)
        self.assertEqual(sheet["K1"].value, "说明")
        self.assertEqual(sheet["B3"].value, "1层客厅")
        self.assertEqual(sheet["E3"].value, "030301-2")  # a code stays text
        self.assertEqual(sheet["F3"].value, "1+1")  # so does an expression
        self.assertEqual(sheet["G3"].value, 2)  # 工程数量 of 1+1, a number
        self.assertEqual(sheet["G3"].number_format, "0.000")
        # Each location's 序号 and name are merged over its rows.
        self.assertIn("A3:A12", merged)
        self.assertIn("B3:B12", merged)

    def test_summary_numbers_at_full_precision_and_totals_as_formulas(self):
        book, cached = self.export("summary.xlsx", "--table", "统计表")
        sheet, values = book["统计表"], cached["统计表"]
        rows = tsv("stats", self.project)
        self.assertGreater(len(rows), 10)
        for i, row in enumerate(rows, start=2):
            self.assertEqual(values[f"C{i}"].value, row[2])
            self.assertEqual(values[f"D{i}"].value, float(row[3]), i)  # not the 3 decimals shown
            self.assertEqual(values[f"F{i}"].value, float(row[5]), i)
            self.assertEqual(sheet[f"G{i}"].value, f"=D{i}*F{i}")
            self.assertAlmostEqual(values[f"G{i}"].value, float(row[3]) * float(row[5]), places=6)
            self.assertAlmostEqual(values[f"G{i}"].value, float(row[6]), places=9)
        self.assertEqual(sheet["D2"].number_format, "0.000")
        self.assertEqual(sheet["F2"].number_format, "0.00")
        self.assertTrue(sheet["D2"].font.b)
        self.assertTrue(sheet["D2"].font.color.rgb.endswith("800000"))  # dark red
        self.assertEqual(sheet["D2"].alignment.horizontal, "center")

    def test_item_statistics_subtotal_is_the_sum_of_its_rows(self):
        book, cached = self.export("node.xlsx", "--table", "分统计表", "--node", "3")
        sheet, values = book["分统计表"], cached["分统计表"]
        program = tsv("stats", self.project, "--node", "3")
        last = len(program) + 1  # the 小计 row
        self.assertEqual(sheet[f"B{last}"].value, "小计：")
        self.assertIn(f"B{last}:E{last}", {str(r) for r in sheet.merged_cells.ranges})
        for column in "FIJKL":
            self.assertEqual(sheet[f"{column}{last}"].value, f"=SUM({column}2:{column}{last - 1})")
            added = sum(values[f"{column}{r}"].value or 0 for r in range(2, last))
            self.assertAlmostEqual(values[f"{column}{last}"].value, added, places=6)
        index = {"F": 5, "I": 8, "J": 9, "K": 10, "L": 11}
        for column, i in index.items():
            self.assertAlmostEqual(values[f"{column}{last}"].value, float(program[-1][i]), places=9)
        # Hand check of the first row: 241.488 × 0.023 = 5.554224 of it, × 320, + 241.488 × 18.5
        # + 1.2 + 2.5
        self.assertEqual(sheet["F2"].value, "=C2*E2")
        self.assertEqual(sheet["I2"].value, "=G2*H2")
        self.assertEqual(sheet["L2"].value, "=F2+I2+J2+K2")
        self.assertAlmostEqual(values["L2"].value, 6248.57968, places=9)
        for r in range(2, last):
            parts = sum(values[f"{c}{r}"].value or 0 for c in "FIJK")
            self.assertAlmostEqual(values[f"L{r}"].value, parts, places=6)

    def test_statistics_sheets_chart_their_own_cells(self):
        book, cached = self.export("charts.xlsx", "--all")

        def block(name, labels):
            """The chart of the sheet, and its block: (label, [(formula, value) a series]) a bar."""
            sheet, values = book[name], cached[name]
            self.assertEqual(len(sheet._charts), 1, name)
            chart = sheet._charts[0]
            first = openpyxl.utils.column_index_from_string(labels) + 1
            bars = []
            for r in range(2, sheet.max_row + 1):
                if sheet[f"{labels}{r}"].value is None:
                    break
                figures = [(sheet.cell(r, c).value, values.cell(r, c).value)
                           for c in range(first, first + len(chart.series))]
                bars.append((sheet[f"{labels}{r}"].value, figures))
            # Printed, the sheet is its table (A to the column before the empty one).
            table_end = openpyxl.utils.get_column_letter(first - 3)
            self.assertRegex(",".join(sheet.print_area), rf"^\$A\$1:\${table_end}\$\d+$")
            # Every series charts its column of the block, named by the block's heading.
            last = len(bars) + 1
            for i, series in enumerate(chart.series):
                column = openpyxl.utils.get_column_letter(first + i)
                names = series.cat.strRef or series.cat.numRef  # the writer caches no labels
                self.assertEqual(names.f, f"'{name}'!${labels}$2:${labels}${last}")
                self.assertEqual(series.val.numRef.f, f"'{name}'!${column}$2:${column}${last}")
                self.assertEqual(series.tx.strRef.f, f"'{name}'!${column}$1:${column}$1")
            return sheet, values, bars

        # 统计表 (A…H): the largest materials, each its own 合计 cell in its category's series.
        sheet, values, bars = block("统计表", "J")
        self.assertEqual(len(bars), 16)
        self.assertEqual(bars[-1][0], "其他")
        totals = []
        for label, figures in bars[:-1]:
            formula, value = next(f for f in figures if f[0] is not None)
            row = int(formula[2:])
            self.assertEqual(formula, f"=G{row}")
            self.assertEqual(sheet[f"C{row}"].value, label)
            self.assertAlmostEqual(value, values[f"G{row}"].value, places=9)
            totals.append(value)
        self.assertEqual(totals, sorted(totals, reverse=True))
        every = sum(values[f"G{r}"].value or 0 for r in range(2, sheet.max_row)
                    if sheet[f"C{r}"].value)
        rest = sum(v for _, figures in bars[-1:] for _, v in figures if v)
        self.assertAlmostEqual(rest, every - sum(totals), places=6)
        self.assertLess(max(totals + [rest]), every)

        # 分统计表 (A…J): a bar a division row, its four kinds of cost its own cells.
        sheet, values, bars = block("分统计表", "L")
        self.assertGreater(len(bars), 1)
        for label, figures in bars:
            row = int(figures[0][0][2:])
            self.assertEqual(sheet[f"B{row}"].value, label)
            self.assertEqual([f for f, _ in figures], [f"={c}{row}" for c in "CFGH"])

        # 累计统计表 (A…K): a bar a location, adding up its rows; all bars make the 小计.
        sheet, values, bars = block("累计统计表", "M")
        for label, figures in bars:
            if label != "其他":
                first = re.fullmatch(r"=SUM\(J(\d+):J\d+\)|=J(\d+)", figures[0][0])
                self.assertTrue(first, figures)
                self.assertEqual(sheet[f"B{first[1] or first[2]}"].value, label)
        subtotal = values[f"J{sheet.max_row}"].value
        self.assertAlmostEqual(sum(f[0][1] for _, f in bars), subtotal, places=6)

    def test_cumulative_codes_keep_their_leading_zeros(self):
        book, cached = self.export("cumulative.xlsx", "--table", "累计统计表", "--filter")
        sheet = book["累计统计表"]
        codes = [sheet[f"C{r}"].value for r in range(2, sheet.max_row)]
        self.assertTrue(codes and all(isinstance(c, str) for c in codes if c), codes)
        self.assertTrue(any(c.startswith("0") for c in codes if c), codes)
        self.assertEqual(sheet["J2"].value, "=D2+G2+H2+I2")

    def test_unknown_table_and_unwritable_path_fail(self):
        self.assertEqual(run("export", self.project, "--table", "总表", "x.xlsx", ok=False).returncode, 2)
        missing = os.path.join(self.dir.name, "no", "such", "folder", "x.xlsx")
        failed = run("export", self.project, "--table", "材料表", missing, ok=False)
        self.assertEqual(failed.returncode, 1)
        self.assertIn("保存失败，请重新再试！", failed.stderr)

    def test_a_statistics_table_needs_the_option_of_its_view(self):
        # Without it the table would be written as rows of nothing.
        out = os.path.join(self.dir.name, "x.xlsx")
        for args, said in [
            (["--table", "分统计表"], "分统计表 is the breakdown of a structure node: give --node N"),
            (["--table", "累计统计表"], "累计统计表 is the filtered view's: give --filter [LOCATION ...]"),
            (["--table", "累计统计表", "--node", "3"], "give --filter"),
            (["--table", "统计表", "--node", "3"], "leave out --node"),
        ]:
            refused = run("export", self.project, *args, out, ok=False)
            self.assertEqual(refused.returncode, 2, args)
            self.assertIn(said, refused.stderr)
            self.assertFalse(os.path.exists(out))


@unittest.skipUnless(shutil.which("soffice"), "LibreOffice is not installed")
class RecalculationTest(unittest.TestCase):
    def test_totals_follow_a_changed_price(self):
        with tempfile.TemporaryDirectory() as folder:
            project = os.path.join(folder, "sample.gdb")
            run("sample", project)
            exported = os.path.join(folder, "node.xlsx")
            run("export", project, "--table", "分统计表", "--node", "3", exported)
            # A new price for 水泥砂浆1:3; saving drops every cached result, so LibreOffice
            # computes each formula itself.
            book = openpyxl.load_workbook(exported)
            book.active["E2"] = 330
            changed = os.path.join(folder, "changed.xlsx")
            book.save(changed)
            subprocess.run(
                ["soffice", f"-env:UserInstallation=file://{folder}/profile", "--headless",
                 "--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false",
                 "--outdir", folder, changed],
                check=True, capture_output=True, timeout=900)
            with open(os.path.join(folder, "changed.csv"), encoding="utf-8") as f:
                rows = list(csv.reader(f))
            # 5.554224 × 330; that + 241.488 × 18.5 + 1.2 + 2.5; the 小计s of 材料费 and 合计
            # grow by 5.554224 × 10 from the program's 2666.02752 and 7137.25552.
            self.assertAlmostEqual(float(rows[1][5]), 1832.89392, places=9)
            self.assertAlmostEqual(float(rows[1][11]), 6304.12192, places=9)
            self.assertEqual(rows[4][1], "小计：")
            self.assertAlmostEqual(float(rows[4][5]), 2721.56976, places=9)
            self.assertAlmostEqual(float(rows[4][11]), 7192.79776, places=9)


    def test_a_price_changed_in_the_material_sheet_moves_every_total(self):
        with tempfile.TemporaryDirectory() as folder:
            project = os.path.join(folder, "sample.gdb")
            run("sample", project, "--locations", "3")
            exported = os.path.join(folder, "all.xlsx")
            run("export", project, "--all", exported)
            before = openpyxl.load_workbook(exported, data_only=True)
            book = openpyxl.load_workbook(exported)
            materials = book["材料表"]
            self.assertEqual((materials["C38"].value, materials["F38"].value), ("实木复合门", 1250))
            self.assertEqual((materials["C4"].value, materials["F4"].value), ("水泥砂浆1:3", 320))
            materials["F38"] = 1300
            materials["F4"] = 330
            changed = os.path.join(folder, "changed.xlsx")
            book.save(changed)
            subprocess.run(
                ["soffice", f"-env:UserInstallation=file://{folder}/profile", "--headless",
                 "--convert-to",
                 "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1",
                 "--outdir", folder, changed],
                check=True, capture_output=True, timeout=900)

            def sheet(name):
                with open(os.path.join(folder, f"changed-{name}.csv"), encoding="utf-8") as f:
                    return list(csv.reader(f))

            def row_of(rows, column, text):
                return next(r for r in rows if r[column] == text)

            # 2 doors at 1300; 0.73233 m³ of mortar, all three rooms together, at 330.
            summary = sheet("统计表")
            self.assertAlmostEqual(float(row_of(summary, 2, "实木复合门")[6]), 2600, places=9)
            self.assertAlmostEqual(float(row_of(summary, 2, "水泥砂浆1:3")[6]), 241.6689, places=9)
            self.assertAlmostEqual(float(row_of(summary, 2, "水泥砂浆1:3")[3]), 0.73233, places=9)
            # The chart's bar of the door moves with it: its figure in the block right of 统计表.
            bar = row_of(summary, 9, "实木复合门")
            self.assertAlmostEqual(float(next(v for v in bar[10:] if v)), 2600, places=9)
            # The door's work item: 2 doors at 1300, 2 locks at 180, 6 hinges at 25; with
            # 2 × 18.5 labour, 1.2 machinery and 2.5 management.
            items = sheet("分统计表")
            self.assertAlmostEqual(float(row_of(items, 1, "030301-2")[2]), 3110, places=9)
            self.assertAlmostEqual(float(row_of(items, 1, "030301-2")[8]), 3150.7, places=9)
            # 030203 uses 0.17073 m³ of the mortar.
            self.assertAlmostEqual(float(row_of(items, 1, "030203")[2]), 56.3409, places=9)
            places = sheet("累计统计表")
            door = row_of(places, 2, "030301-2")
            self.assertEqual(door[1], "1层客厅")
            self.assertAlmostEqual(float(door[3]), 3110, places=9)
            self.assertAlmostEqual(float(door[9]), 3150.7, places=9)
            # Every grand total grows by the same 100 + 0.73233 × 10.
            for name, rows, column, letter in [("统计表", summary, 6, "G"),
                                               ("分统计表", items, 8, "I"),
                                               ("累计统计表", places, 9, "J")]:
                total = before[name][f"{letter}{len(rows)}"].value
                self.assertAlmostEqual(float(rows[-1][column]), total + 107.3233, places=6, msg=name)
            analysis = sheet("分析表")
            self.assertEqual(analysis[0][11:15], ["材料单价", "材料费", "所属部位", "所属分项"])
            self.assertAlmostEqual(float(row_of(analysis, 7, "实木复合门")[12]), 2600, places=9)


class ImportTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.project = os.path.join(self.dir.name, "p.gdb")
        run("new", self.project)

    def tearDown(self):
        self.dir.cleanup()

    def materials(self, project=None):
        return [row[1:7] for row in tsv("materials", project or self.project) if row[1]]

    def test_a_price_list_openpyxl_wrote(self):
        book = openpyxl.Workbook()
        sheet = book.active
        sheet.append(["类别", "材料名称", "最小规格", "单位", "单价", "说明"])
        sheet.append(["钢材", "圆钢", "Φ12", "吨", 4200, "国标"])
        sheet.append(["钢材", "方钢", None, "吨", 3950.75, None])
        sheet.append(["管材", "PVC管", "DN20", "米", 12.5, "白色"])
        sheet.append([None, "无类别", None, "米", 1, None])
        sheet.append(["管材", "镀锌管", "DN25", "米", 18, "热镀", "某厂", "河北"])  # the supplier's own columns
        path = os.path.join(self.dir.name, "价格表.xlsx")
        book.save(path)
        # The row without a category is named with its row in the sheet, and a refused row
        # makes the status 1; the rest is imported.
        result = run("materials", "import", self.project, path, ok=False)
        self.assertEqual(result.returncode, 1)
        self.assertEqual(result.stderr,
                         "文件导入完毕！\n导入 4 种材料，跳过 1 行：\n第 5 行：类别为空\n")
        self.assertEqual(self.materials(), [
            ["钢材", "圆钢", "Φ12", "吨", "4200", "国标"],
            ["钢材", "方钢", "", "吨", "3950.75", ""],
            ["管材", "PVC管", "DN20", "米", "12.5", "白色"],
            ["管材", "镀锌管", "DN25", "米", "18", "热镀"],
        ])

    def test_the_material_table_the_program_wrote(self):
        sample = os.path.join(self.dir.name, "sample.gdb")
        run("sample", sample)
        exported = os.path.join(self.dir.name, "材料表.xlsx")
        run("export", sample, "--table", "材料表", exported)
        run("materials", "import", "--replace", self.project, exported)
        self.assertEqual(self.materials(), self.materials(sample))

    def test_what_is_not_a_readable_workbook_changes_nothing(self):
        good = os.path.join(self.dir.name, "good.xlsx")
        book = openpyxl.Workbook()
        book.active.append(["钢材", "圆钢", None, "吨", 4200])
        book.save(good)
        data = open(good, "rb").read()
        cases = {}
        cases["truncated.xlsx"] = data[: len(data) // 2]
        # 210 MB of blanks in the sheet, a few hundred kilobytes packed.
        bomb = os.path.join(self.dir.name, "bomb.xlsx")
        with zipfile.ZipFile(good) as src, zipfile.ZipFile(bomb, "w", zipfile.ZIP_DEFLATED) as dst:
            for item in src.infolist():
                part = src.read(item)
                if item.filename == "xl/worksheets/sheet1.xml":
                    part = part.replace(b"<sheetData>", b"<sheetData>" + b" " * (210 << 20))
                dst.writestr(item.filename, part)
        self.assertLess(os.path.getsize(bomb), 2 << 20)
        no_sheets = os.path.join(self.dir.name, "nosheets.xlsx")
        with zipfile.ZipFile(good) as src, zipfile.ZipFile(no_sheets, "w") as dst:
            for item in src.infolist():
                part = src.read(item)
                if item.filename == "xl/workbook.xml":
                    start, end = part.index(b"<sheets>"), part.index(b"</sheets>") + 9
                    part = part[:start] + b"<sheets/>" + part[end:]
                dst.writestr(item.filename, part)
        paths = [bomb, no_sheets]
        for name, content in cases.items():
            paths.append(os.path.join(self.dir.name, name))
            open(paths[-1], "wb").write(content)
        before = open(self.project, "rb").read()
        for path in paths:
            for replace in ([], ["--replace"]):
                failed = run("materials", "import", *replace, self.project, path, ok=False)
                self.assertEqual(failed.returncode, 1, path)
                self.assertIn("文件导入失败！", failed.stderr, path)
                self.assertEqual(open(self.project, "rb").read(), before, path)
        run("materials", "import", self.project, good)
        self.assertEqual(self.materials(), [["钢材", "圆钢", "", "吨", "4200", ""]])


class ComparisonExportTest(unittest.TestCase):
    def test_a_comparison_workbook_computes_its_differences_from_its_own_cells(self):
        with tempfile.TemporaryDirectory() as folder:
            before = os.path.join(folder, "before.gdb")
            after = os.path.join(folder, "after.gdb")
            run("sample", before, "--locations", "3")
            run("sample", after, "--locations", "5")
            exported = os.path.join(folder, "compare.xlsx")
            summary = dict(tsv("compare", before, after, "--xlsx", exported))
            # The totals are those of 累计统计表 of each project.
            for project, caption in ((before, "对比前合计"), (after, "对比后合计")):
                subtotal = [r for r in tsv("stats", project, "--filter") if r[1] == "小计："][0]
                self.assertAlmostEqual(float(summary[caption]), float(subtotal[9]), places=6)
            self.assertEqual(summary["部位新增"], "2")
            book, cached = both(exported)
            self.assertEqual(book.sheetnames, ["汇总", "按部位", "按材料", "按费用", "结构变化"])
            lines = tsv("compare", before, after, "--by", "material")
            sheet, values = book["按材料"], cached["按材料"]
            self.assertEqual([c.value for c in sheet[1]], lines[0])
            for r, line in enumerate(lines[1:], start=2):
                self.assertEqual(sheet[f"B{r}"].value, line[1])
                self.assertEqual(sheet[f"K{r}"].value, f"=J{r}-I{r}")
                self.assertEqual(sheet[f"L{r}"].value, f"=D{r}*(H{r}-G{r})")
                self.assertAlmostEqual(values[f"K{r}"].value, float(line[10]), places=6)
                self.assertAlmostEqual(values[f"L{r}"].value + values[f"M{r}"].value,
                                       values[f"K{r}"].value, places=6)


if __name__ == "__main__":
    unittest.main(verbosity=2)
